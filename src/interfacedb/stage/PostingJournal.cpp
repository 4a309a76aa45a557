#include "interfacedb/stage/PostingJournal.h"

#include <limits>
#include <string>

#include "interfacedb/DbError.h"
#include "interfacedb/FieldOrdinal.h"
#include "interfacedb/Recordset.h"
#include "interfacedb/SqlText.h"
#include "interfacedb/stage/Stage.h"

namespace vantrell::stage {

namespace {

constexpr TicketState kStates[] = {TicketState::Sent, TicketState::Confirmed, TicketState::Refused,
                                   TicketState::NotPosted, TicketState::Settled};

// A ticket row that reads whole: the one test that the counts and the reads share, so that a
// damaged row is counted as damaged and never as posted, undone or unconfirmed.
constexpr const char* kSoundTicket =
    "(typeof(t.Sequence)='integer' and typeof(t.Hours) in ('integer','real')"
    " and typeof(t.Date)='text' and (t.Undone is null or t.Undone in (0,1))"
    " and (t.State is null or t.State in ('sent','confirmed','refused','notposted','settled')))";
// A staged ticket with the names a map entry replaced (Null when none did), for its journal
// row: the ticket's own columns, the names, and where they are read from. The names are looked
// up through PunchSource's index for each ticket: a grouped table of them would be built anew by
// every statement, and a check that settles tickets one by one runs one statement a ticket.
constexpr const char* kStagedWithSource = " p.Sequence, p.Name, p.Date, p.Hours, p.PayType";
constexpr const char* kSourceNames =
    "(select min(s.ChronelName) from PunchSource s where s.Sequence = p.Sequence),"
    " (select min(s.ChronelPayType) from PunchSource s where s.Sequence = p.Sequence)";
constexpr const char* kPunchWithSource = " from Punch p";

// A row written before states were is a confirmed one.
constexpr const char* kStateOrConfirmed = "coalesce(t.State,'confirmed')";

std::string shown(const db::Value& value) {
    if (value.isNull()) {
        return "Null";
    }
    try {
        return "\"" + value.toText() + "\"";
    } catch (const db::DbError&) {
        return "unreadable";
    }
}

std::optional<db::DateTime> dateOf(const db::Value& value) {
    if (value.isNull()) {
        return std::nullopt;
    }
    try {
        return value.toDate();
    } catch (const db::DbError&) {
        return std::nullopt;
    }
}

std::string textOf(db::Value value) {
    if (value.isNull()) {
        return {};
    }
    try {
        return std::move(value).toText();
    } catch (const db::DbError&) {
        return {};
    }
}

// The number a count(*) statement gives.
std::size_t countOf(db::Connection& cn, const char* sql) {
    db::Recordset rs;
    rs.open(sql, cn, db::CursorType::ForwardOnly, db::LockType::ReadOnly);
    return rs.eof() ? 0 : static_cast<std::size_t>(rs.field("count(*)").toInteger());
}

// The export ID a row holds, or why it holds none: Null, text, a fraction.
std::optional<std::int64_t> wholeNumber(const db::Value& value) {
    if (value.kind() != db::Value::Kind::Integer) {
        return std::nullopt;
    }
    return value.toInteger();
}

std::vector<ExportSummary> readExports(db::Connection& cn, const std::string& where) {
    // The counts come from the ticket rows, so that they can never disagree with them.
    const std::string tickets = "select count(*) from ExportTicket t where t.ExportID = r.ID";
    const std::string sound = std::string(" and ") + kSoundTicket;
    const std::string state = std::string(" and ") + kStateOrConfirmed;
    db::Recordset rs;
    rs.open(
        "select r.rowid as RowNo, r.ID as ID, r.Started as Started,"
        " r.Finished as Finished, r.CompanyFile as CompanyFile," +
            (" (" + tickets + sound + state + "='confirmed') as Posted,") +
            (" (" + tickets + sound + state + "='confirmed' and t.Undone=1) as Undone,") +
            (" (" + tickets + sound + state + "='sent') as Unconfirmed,") +
            (" (" + tickets + " and not " + kSoundTicket + ") as Damaged") + " from ExportRun r" +
            where + " order by typeof(r.ID)<>'integer', r.ID, r.rowid",
        cn, db::CursorType::Static, db::LockType::ReadOnly);
    std::vector<ExportSummary> exports;
    for (; !rs.eof(); rs.moveNext()) {
        ExportSummary summary;
        summary.row = rs.field("RowNo").toInteger();
        const db::Value id = rs.field("ID");
        if (const auto number = wholeNumber(id); number && *number > 0) {
            summary.id = *number;
        } else {
            summary.damage = "row " + std::to_string(summary.row) +
                             " of ExportRun has the export ID " + shown(id) +
                             ", not a whole number above 0";
        }
        summary.started = dateOf(rs.field("Started"));
        summary.finished = dateOf(rs.field("Finished"));
        summary.companyFile = textOf(rs.field("CompanyFile"));
        summary.posted = rs.field("Posted").toInteger();
        summary.undone = rs.field("Undone").toInteger();
        summary.unconfirmed = rs.field("Unconfirmed").toInteger();
        summary.damaged = rs.field("Damaged").toInteger();
        exports.push_back(std::move(summary));
    }
    return exports;
}

// The columns of an ExportTicket row, in the order a row is read: one the table lacks fails the
// read at the first row, as reading it by name would.
struct TicketColumns {
    db::FieldOrdinal row{"RowNo"};
    db::FieldOrdinal exportId{"ExportID"};
    db::FieldOrdinal sequence{"Sequence"};
    db::FieldOrdinal name{"Name"};
    db::FieldOrdinal date{"Date"};
    db::FieldOrdinal hours{"Hours"};
    db::FieldOrdinal payType{"PayType"};
    db::FieldOrdinal chronelName{"ChronelName"};
    db::FieldOrdinal chronelPayType{"ChronelPayType"};
    db::FieldOrdinal txnId{"TxnID"};
    db::FieldOrdinal message{"Message"};
    db::FieldOrdinal undone{"Undone"};
    db::FieldOrdinal state{"State"};
};

// One ticket row read; what does not read is named in `damage`.
JournalTicket readTicket(db::Recordset& rs, TicketColumns& columns) {
    JournalTicket ticket;
    ticket.row = rs.field(columns.row.in(rs)).toInteger();
    std::vector<std::string> faults;
    const db::Value exportId = rs.field(columns.exportId.in(rs));
    ticket.exportId = wholeNumber(exportId).value_or(-1);
    const db::Value sequence = rs.field(columns.sequence.in(rs));
    if (sequence.kind() == db::Value::Kind::Integer &&
        sequence.toInteger() >= std::numeric_limits<std::int32_t>::min() &&
        sequence.toInteger() <= std::numeric_limits<std::int32_t>::max()) {
        ticket.sequence = static_cast<std::int32_t>(sequence.toInteger());
    } else {
        faults.push_back("its Sequence is " + shown(sequence));
    }
    ticket.name = textOf(rs.field(columns.name.in(rs)));
    const db::Value date = rs.field(columns.date.in(rs));
    ticket.date = dateOf(date);
    if (!ticket.date) {
        faults.push_back("its Date is " + shown(date) + ", not a date");
    }
    const db::Value hours = rs.field(columns.hours.in(rs));
    try {
        if (hours.kind() == db::Value::Kind::Text || hours.isNull()) {
            throw db::DbError("not a number");
        }
        ticket.hours = hours.toSingle();
    } catch (const db::DbError&) {
        faults.push_back("its Hours is " + shown(hours) + ", not a number");
    }
    ticket.payType = textOf(rs.field(columns.payType.in(rs)));
    ticket.chronelName = textOf(rs.field(columns.chronelName.in(rs)));
    ticket.chronelPayType = textOf(rs.field(columns.chronelPayType.in(rs)));
    ticket.txnId = textOf(rs.field(columns.txnId.in(rs)));
    ticket.message = textOf(rs.field(columns.message.in(rs)));
    const db::Value undone = rs.field(columns.undone.in(rs));
    if (!undone.isNull()) {
        if (undone.kind() == db::Value::Kind::Boolean ||
            (undone.kind() == db::Value::Kind::Integer &&
             (undone.toInteger() == 0 || undone.toInteger() == 1))) {
            ticket.undone = undone.toBoolean();
        } else {
            faults.push_back("its Undone is " + shown(undone) + ", not Yes or No");
        }
    }
    const db::Value state = rs.field(columns.state.in(rs));
    if (!state.isNull()) {
        const std::string text = textOf(state);
        bool known = false;
        for (const TicketState candidate : kStates) {
            if (text == stateText(candidate)) {
                ticket.state = candidate;
                known = true;
            }
        }
        if (!known) {
            faults.push_back("its State is " + shown(state));
        }
    }
    if (!faults.empty()) {
        ticket.damage = "row " + std::to_string(ticket.row) + " of ExportTicket (export " +
                        (exportId.isNull() ? std::string("Null") : textOf(exportId)) + ")";
        for (std::size_t i = 0; i < faults.size(); ++i) {
            ticket.damage += (i == 0 ? ": " : "; ") + faults[i];
        }
    }
    return ticket;
}

std::vector<JournalTicket> readTickets(db::Connection& cn, const std::string& where) {
    db::Recordset rs;
    rs.open("select rowid as RowNo, * from ExportTicket t " + where + " order by Sequence, rowid",
            cn, db::CursorType::Static, db::LockType::ReadOnly);
    std::vector<JournalTicket> tickets;
    TicketColumns columns;
    for (; !rs.eof(); rs.moveNext()) {
        tickets.push_back(readTicket(rs, columns));
    }
    return tickets;
}

// The ID after the highest so far; throws, naming the row, when an ID cannot be counted on.
std::int64_t nextExportId(db::Connection& cn) {
    db::Recordset damaged;
    damaged.open(
        "select rowid as RowNo, ID from ExportRun where typeof(ID)<>'integer' order by rowid", cn,
        db::CursorType::Static, db::LockType::ReadOnly);
    if (!damaged.eof()) {
        throw db::DbError("The posting journal is damaged: row " + damaged.field("RowNo").toText() +
                          " of ExportRun has the export ID " + shown(damaged.field("ID")) +
                          ", not a whole number. No export is sent until it is mended.");
    }
    damaged.close();
    db::Recordset rs;
    rs.open("select max(ID) as Highest from ExportRun", cn, db::CursorType::Static,
            db::LockType::ReadOnly);
    const db::Value highest = rs.eof() ? db::Value() : rs.field("Highest");
    if (highest.isNull()) {
        return 1;
    }
    const std::int64_t id = highest.toInteger();
    if (id >= std::numeric_limits<std::int64_t>::max()) {
        throw db::DbError("The posting journal is damaged: its highest export ID, " +
                          std::to_string(id) +
                          ", leaves no next one. No export is sent until it is mended.");
    }
    return id < 1 ? 1 : id + 1;
}

}  // namespace

const char* stateText(TicketState state) {
    switch (state) {
        case TicketState::Sent:
            return "sent";
        case TicketState::Confirmed:
            return "confirmed";
        case TicketState::Refused:
            return "refused";
        case TicketState::NotPosted:
            return "notposted";
        case TicketState::Settled:
            return "settled";
    }
    return "sent";
}

std::int64_t recordSentExport(db::Connection& cn, const db::DateTime& now,
                              const std::string& companyFile) {
    std::int64_t id = 0;
    cn.inTransaction([&] {
        id = nextExportId(cn);
        cn.execute("insert into ExportRun (ID, Started, CompanyFile) values (?, ?, ?)",
                   {db::Value(id), db::Value(now), db::Value(companyFile)});
        cn.execute(
            std::string("insert into ExportTicket (ExportID, Sequence, Name, Date, Hours, PayType,"
                        " TxnID, Undone, State, ChronelName, ChronelPayType) select ?,") +
                kStagedWithSource + ", null, ?, ?, " + kSourceNames + kPunchWithSource +
                " order by p.Sequence",
            {db::Value(id), db::Value(false), db::Value(stateText(TicketState::Sent))});
    });
    return id;
}

void finishExport(db::Connection& cn, std::int64_t id, const db::DateTime& now) {
    cn.execute("update ExportRun set Finished=? where ID=?", {db::Value(now), db::Value(id)});
}

std::vector<ExportSummary> listExports(db::Connection& cn) {
    return readExports(cn, "");
}

std::optional<ExportSummary> findExport(db::Connection& cn, std::int64_t id) {
    std::vector<ExportSummary> found = readExports(cn, " where r.ID = " + std::to_string(id));
    if (found.empty()) {
        return std::nullopt;
    }
    return found.front();
}

std::int64_t settledByCheckCount(db::Connection& cn) {
    db::Recordset rs;
    rs.open("select count(*) as Settled from ExportTicket where State='settled'", cn,
            db::CursorType::Static, db::LockType::ReadOnly);
    return rs.eof() ? 0 : rs.field("Settled").toInteger();
}

std::vector<JournalTicket> exportTickets(db::Connection& cn, std::int64_t id) {
    return readTickets(cn, "where ExportID = " + std::to_string(id));
}

void markUndone(db::Connection& cn, std::int64_t id, const std::vector<std::string>& txnIds) {
    if (txnIds.empty()) {
        return;
    }
    cn.inTransaction([&] {
        for (const std::string& txnId : txnIds) {
            cn.execute(
                "update ExportTicket set Undone=? where TxnID=? and +ExportID=?"
                " and coalesce(State,'confirmed')='confirmed'",
                {db::Value(true), db::Value(txnId), db::Value(id)});
        }
    });
}

void markSentTicket(db::Connection& cn, std::int64_t exportId, std::int32_t sequence,
                    TicketState state, const std::string& message) {
    cn.execute(
        "update ExportTicket set State=?, Message=? where Sequence=? and +ExportID=?"
        " and State='sent'",
        {db::Value(stateText(state)), message.empty() ? db::Value() : db::Value(message),
         db::Value(sequence), db::Value(exportId)});
}

std::vector<JournalTicket> unconfirmedTickets(db::Connection& cn, const std::string& companyFile) {
    std::vector<JournalTicket> tickets = readTickets(
        cn, std::string("where State='sent' and ") + kSoundTicket +
                " and ExportID in (select ID from ExportRun where coalesce(CompanyFile,'') in "
                "(''," +
                "'" + db::escapeSqlText(companyFile) + "'))");
    std::erase_if(tickets, [](const JournalTicket& ticket) { return !ticket.damage.empty(); });
    return tickets;
}

std::unordered_map<std::string, ChronelNames> recordedChronelNames(db::Connection& cn,
                                                                   const std::string& companyFile) {
    db::Recordset rs;
    rs.open(
        "select t.TxnID as TxnID, coalesce(t.ChronelName, t.Name) as ChronelName,"
        " coalesce(t.ChronelPayType, t.PayType) as ChronelPayType from ExportTicket t left join"
        " ExportRun r on r.ID = t.ExportID where t.TxnID is not null and coalesce(t.Undone,0)<>1"
        " and (t.ExportID=" +
            std::to_string(kSettledByCheck) + " or coalesce(r.CompanyFile,'') in (''," + "'" +
            db::escapeSqlText(companyFile) + "'))",
        cn, db::CursorType::ForwardOnly, db::LockType::ReadOnly);
    std::unordered_map<std::string, ChronelNames> names;
    // Room for every ticket the journal holds as posted (counted on the TxnID index): a large
    // journal is read without rehashing the map at each doubling.
    names.reserve(countOf(cn, "select count(*) from ExportTicket where TxnID is not null"));
    db::FieldOrdinal txnIdColumn("TxnID");
    db::FieldOrdinal nameColumn("ChronelName");
    db::FieldOrdinal payTypeColumn("ChronelPayType");
    for (; !rs.eof(); rs.moveNext()) {
        std::string txnId = textOf(rs.field(txnIdColumn.in(rs)));
        std::string name = textOf(rs.field(nameColumn.in(rs)));
        std::string payType = textOf(rs.field(payTypeColumn.in(rs)));
        names.emplace(std::move(txnId), ChronelNames{std::move(name), std::move(payType)});
    }
    return names;
}

std::unordered_set<std::string> recordedTxnIds(db::Connection& cn, const std::string& companyFile) {
    db::Recordset rs;
    rs.open(
        "select t.TxnID as TxnID from ExportTicket t left join ExportRun r on r.ID = "
        "t.ExportID where t.TxnID is not null and coalesce(t.Undone,0)<>1 and (t.ExportID=" +
            std::to_string(kSettledByCheck) + " or coalesce(r.CompanyFile,'') in (''," + "'" +
            db::escapeSqlText(companyFile) + "'))",
        cn, db::CursorType::ForwardOnly, db::LockType::ReadOnly);
    std::unordered_set<std::string> ids;
    db::FieldOrdinal txnIdColumn("TxnID");
    for (; !rs.eof(); rs.moveNext()) {
        ids.insert(textOf(rs.field(txnIdColumn.in(rs))));
    }
    return ids;
}

void settleCheck(db::Connection& cn, const CheckSettlement& settlement) {
    cn.inTransaction([&] {
        for (const auto& [row, txnId] : settlement.confirmed) {
            cn.execute(
                "update ExportTicket set State=?, TxnID=? where rowid=?",
                {db::Value(stateText(TicketState::Confirmed)), db::Value(txnId), db::Value(row)});
        }
        for (const std::int64_t row : settlement.notPosted) {
            cn.execute("update ExportTicket set State=? where rowid=?",
                       {db::Value(stateText(TicketState::NotPosted)), db::Value(row)});
        }
        std::vector<std::int32_t> leaving = settlement.recorded;
        for (const auto& [sequence, txnId] : settlement.settled) {
            cn.execute(
                std::string("insert into ExportTicket (ExportID, Sequence, Name, Date, Hours,"
                            " PayType, TxnID, Undone, State, ChronelName, ChronelPayType)"
                            " select ?,") +
                    kStagedWithSource + ", ?, ?, ?, " + kSourceNames + kPunchWithSource +
                    " where p.Sequence=?",
                {db::Value(kSettledByCheck), db::Value(txnId), db::Value(false),
                 db::Value(stateText(TicketState::Settled)), db::Value(sequence)});
            leaving.push_back(sequence);
        }
        removeStagedTickets(cn, leaving);
    });
}

}  // namespace vantrell::stage
