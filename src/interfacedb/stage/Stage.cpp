#include "interfacedb/stage/Stage.h"

#include <algorithm>
#include <map>
#include <string>
#include <unordered_set>

#include "interfacedb/DbError.h"
#include "interfacedb/FieldOrdinal.h"
#include "interfacedb/Recordset.h"
#include "interfacedb/stage/StageStatements.h"
#include "interfacedb/stage/StageTables.h"

namespace vantrell::stage {

namespace {

std::string textOrEmpty(db::Value value) {
    return value.isNull() ? std::string() : std::move(value).toText();
}

// A value that does not convert reads as nothing rather than failing the whole read: one
// damaged row must not hide the others.
template <class Convert>
auto orNothing(const db::Value& value, Convert convert) -> std::optional<decltype(convert())> {
    if (value.isNull()) {
        return std::nullopt;
    }
    try {
        return convert();
    } catch (const db::DbError&) {
        return std::nullopt;
    }
}

// Appends a ticket for each row of `rs`, which holds rows of Punch. A column the table lacks
// fails the read at its first row, as reading it by name would.
void readStagedRows(db::Recordset& rs, std::vector<StagedTicket>& tickets) {
    db::FieldOrdinal sequenceColumn(kSequence);
    db::FieldOrdinal nameColumn(kName);
    db::FieldOrdinal dateColumn(kDate);
    db::FieldOrdinal hoursColumn(kHours);
    db::FieldOrdinal payTypeColumn(kPayTypeColumn);
    db::FieldOrdinal errorColumn(kError);
    for (; !rs.eof(); rs.moveNext()) {
        StagedTicket ticket;
        const db::Value sequence = rs.field(sequenceColumn.in(rs));
        ticket.sequence = orNothing(sequence, [&] { return sequence.toLong(); }).value_or(0);
        ticket.name = textOrEmpty(rs.field(nameColumn.in(rs)));
        const db::Value date = rs.field(dateColumn.in(rs));
        ticket.date = orNothing(date, [&] { return date.toDate(); });
        const db::Value hours = rs.field(hoursColumn.in(rs));
        ticket.hours = orNothing(hours, [&] { return hours.toSingle(); }).value_or(0.0F);
        ticket.payType = textOrEmpty(rs.field(payTypeColumn.in(rs)));
        ticket.error = textOrEmpty(rs.field(errorColumn.in(rs)));
        tickets.push_back(std::move(ticket));
    }
}

}  // namespace

std::vector<StagedTicket> readStagedTickets(db::Connection& cn) {
    db::Recordset rs;
    std::vector<StagedTicket> tickets;
    // Room for every ticket at once: a large stage would otherwise leave a third of it unused.
    rs.open("select count(*) as Tickets from Punch", cn, db::CursorType::Static,
            db::LockType::ReadOnly);
    if (!rs.eof()) {
        tickets.reserve(static_cast<std::size_t>(rs.field("Tickets").toInteger()));
    }
    rs.close();
    // Row by row, so that the rows read are never held beside the tickets made of them.
    rs.open("select * from Punch order by Sequence, rowid", cn, db::CursorType::ForwardOnly,
            db::LockType::ReadOnly);
    readStagedRows(rs, tickets);
    rs.close();

    // The names a map entry replaced, for the tickets it renamed.
    rs.open("select Sequence, ChronelName, ChronelPayType from PunchSource order by Sequence", cn,
            db::CursorType::ForwardOnly, db::LockType::ReadOnly);
    std::map<std::int32_t, std::pair<std::string, std::string>> sources;
    db::FieldOrdinal sequenceColumn(kSequence);
    db::FieldOrdinal nameColumn(kChronelName);
    db::FieldOrdinal payTypeColumn(kChronelPayType);
    for (; !rs.eof(); rs.moveNext()) {
        const db::Value sequence = rs.field(sequenceColumn.in(rs));
        if (const auto number = orNothing(sequence, [&] { return sequence.toLong(); })) {
            std::string name = textOrEmpty(rs.field(nameColumn.in(rs)));
            std::string payType = textOrEmpty(rs.field(payTypeColumn.in(rs)));
            sources.emplace(*number, std::pair(std::move(name), std::move(payType)));
        }
    }
    for (StagedTicket& ticket : tickets) {
        if (const auto found = sources.find(ticket.sequence); found != sources.end()) {
            ticket.chronelName = found->second.first;
            ticket.chronelPayType = found->second.second;
        }
    }
    return tickets;
}

std::optional<std::pair<db::DateTime, db::DateTime>> stagedDateRange(db::Connection& cn) {
    // Dates are stored in one canonical text form, so their text order is their time order.
    db::Recordset rs;
    rs.open("select min(Date) as First, max(Date) as Last from Punch where Date is not null", cn,
            db::CursorType::Static, db::LockType::ReadOnly);
    if (rs.eof()) {
        return std::nullopt;
    }
    const db::Value first = rs.field("First");
    const db::Value last = rs.field("Last");
    const auto from = orNothing(first, [&] { return first.toDate(); });
    const auto to = orNothing(last, [&] { return last.toDate(); });
    if (!from || !to) {
        return std::nullopt;
    }
    return std::make_pair(*from, *to);
}

void removeStagedTickets(db::Connection& cn, const std::vector<std::int32_t>& sequences) {
    // Many tickets to a statement: a statement each would be prepared hundreds of thousands of
    // times for a large stage.
    constexpr std::size_t kPerStatement = 500;
    cn.inTransaction([&] {
        for (std::size_t first = 0; first < sequences.size(); first += kPerStatement) {
            const std::size_t count = std::min(kPerStatement, sequences.size() - first);
            std::string sql = "delete from Punch where Sequence in (?";
            std::vector<db::Value> values{db::Value(sequences[first])};
            for (std::size_t i = 1; i < count; ++i) {
                sql += ",?";
                values.emplace_back(sequences[first + i]);
            }
            cn.execute(sql + ")", values);
        }
        // The names were listed for the tickets staged before: one whose tickets all left is
        // missing for nothing, and would keep the rest of the stage from being posted.
        if (!sequences.empty()) {
            cn.execute(kDeleteEmployeesWithoutTickets);
            cn.execute(kDeletePayTypesWithoutTickets);
        }
    });
}

namespace {

// How many accepted tickets are confirmed, and leave Punch, in one statement: a statement per
// ticket costs its own run of the engine's program each.
constexpr std::size_t kTicketsPerStatement = 100;

// A statement of `head`, kTicketsPerStatement times `place` separated by commas, and `tail`;
// always of that size, so that one prepared statement serves every answer.
std::string repeatedPlaces(const char* head, const char* place, const char* tail) {
    std::string text = head;
    for (std::size_t i = 0; i < kTicketsPerStatement; ++i) {
        text += i == 0 ? "" : ",";
        text += place;
    }
    return text + tail;
}

const std::string& confirmSentTickets() {
    // The row is found by its Sequence (indexed): an export's ID is the same in all its rows.
    static const std::string sql = repeatedPlaces(
        "update ExportTicket set State='confirmed', TxnID=a.column2 from (values ", "(?,?)",
        ") as a where ExportTicket.Sequence=a.column1 and +ExportTicket.ExportID=? and"
        " ExportTicket.State='sent'");
    return sql;
}

const std::string& deletePunchSequences() {
    static const std::string sql =
        repeatedPlaces("delete from Punch where Sequence in (", "?", ")");
    return sql;
}

}  // namespace

void recordAcceptedTicket(db::Connection& cn, std::int64_t exportId, std::int32_t sequence,
                          const std::string& txnId) {
    recordAcceptedTickets(cn, exportId, {{sequence, txnId}});
}

void recordAcceptedTickets(db::Connection& cn, std::int64_t exportId,
                           const std::vector<AcceptedTicket>& tickets) {
    // A ticket answered twice keeps its first TxnID, as it would one statement a ticket: the
    // second finds its row no longer Sent.
    std::vector<const AcceptedTicket*> firsts;
    std::unordered_set<std::int32_t> seen;
    for (const AcceptedTicket& ticket : tickets) {
        if (seen.insert(ticket.sequence).second) {
            firsts.push_back(&ticket);
        }
    }
    // One transaction for many tickets: inside the answer's commit it is a savepoint, and a
    // savepoint per ticket copies every page the ticket touches aside once more. The few
    // tickets past the last whole statement go one by one.
    cn.inTransaction([&] {
        std::vector<db::Value> values;
        std::size_t first = 0;
        for (; firsts.size() - first >= kTicketsPerStatement; first += kTicketsPerStatement) {
            values.clear();
            for (std::size_t i = first; i < first + kTicketsPerStatement; ++i) {
                values.emplace_back(firsts[i]->sequence);
                values.emplace_back(firsts[i]->txnId);
            }
            values.emplace_back(exportId);
            cn.execute(confirmSentTickets(), values);
            values.resize(kTicketsPerStatement);
            for (std::size_t i = 0; i < kTicketsPerStatement; ++i) {
                values[i] = db::Value(firsts[first + i]->sequence);
            }
            cn.execute(deletePunchSequences(), values);
        }
        for (; first < firsts.size(); ++first) {
            cn.execute(
                "update ExportTicket set State='confirmed', TxnID=? where Sequence=? and"
                " +ExportID=? and State='sent'",
                {db::Value(firsts[first]->txnId), db::Value(firsts[first]->sequence),
                 db::Value(exportId)});
            cn.execute(kDeletePunchSequence, {db::Value(firsts[first]->sequence)});
        }
    });
}

}  // namespace vantrell::stage
