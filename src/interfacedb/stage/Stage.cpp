#include "interfacedb/stage/Stage.h"

#include <string>

#include "interfacedb/DbError.h"
#include "interfacedb/Recordset.h"
#include "interfacedb/stage/StageStatements.h"
#include "interfacedb/stage/StageTables.h"

namespace vantrell::stage {

namespace {

std::string textOrEmpty(const db::Value& value) {
    return value.isNull() ? std::string() : value.toText();
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

}  // namespace

std::vector<StagedTicket> readStagedTickets(db::Connection& cn) {
    db::Recordset rs;
    rs.open(kPunchBySequence, cn, db::CursorType::Static, db::LockType::ReadOnly);
    std::vector<StagedTicket> tickets;
    for (; !rs.eof(); rs.moveNext()) {
        StagedTicket ticket;
        const db::Value sequence = rs.field(kSequence);
        ticket.sequence = orNothing(sequence, [&] { return sequence.toLong(); }).value_or(0);
        ticket.name = textOrEmpty(rs.field(kName));
        const db::Value date = rs.field(kDate);
        ticket.date = orNothing(date, [&] { return date.toDate(); });
        const db::Value hours = rs.field(kHours);
        ticket.hours = orNothing(hours, [&] { return hours.toSingle(); }).value_or(0.0F);
        ticket.payType = textOrEmpty(rs.field(kPayTypeColumn));
        ticket.error = textOrEmpty(rs.field(kError));
        tickets.push_back(std::move(ticket));
    }
    return tickets;
}

void removeStagedTickets(db::Connection& cn, const std::vector<std::int32_t>& sequences) {
    if (sequences.empty()) {
        return;
    }
    cn.inTransaction([&] {
        for (const std::int32_t sequence : sequences) {
            cn.execute(std::string(kDeletePunchSequence) + "?", {db::Value(sequence)});
        }
    });
}

void recordAcceptedTicket(db::Connection& cn, std::int64_t exportId, std::int32_t sequence,
                          const std::string& txnId) {
    cn.inTransaction([&] {
        cn.execute(
            "insert into ExportTicket (ExportID, Sequence, Name, Date, Hours, PayType, TxnID,"
            " Undone) select ?, Sequence, Name, Date, Hours, PayType, ?, ? from Punch"
            " where Sequence=?",
            {db::Value(exportId), db::Value(txnId), db::Value(false), db::Value(sequence)});
        cn.execute(kDeletePunchSequence + std::to_string(sequence));
    });
}

}  // namespace vantrell::stage
