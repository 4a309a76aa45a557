#include "interfacedb/stage/PostingJournal.h"

#include <string>

#include "interfacedb/DbError.h"
#include "interfacedb/Recordset.h"

namespace vantrell::stage {

namespace {

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

std::vector<ExportSummary> readExports(db::Connection& cn, const std::string& where) {
    // The counts come from the ticket rows, so that they can never disagree with them.
    db::Recordset rs;
    rs.open(
        "select r.ID as ID, r.Started as Started, r.Finished as Finished,"
        " (select count(*) from ExportTicket t where t.ExportID = r.ID) as Posted,"
        " (select count(*) from ExportTicket t where t.ExportID = r.ID and t.Undone) as Undone"
        " from ExportRun r" +
            where + " order by r.ID",
        cn, db::CursorType::Static, db::LockType::ReadOnly);
    std::vector<ExportSummary> exports;
    for (; !rs.eof(); rs.moveNext()) {
        ExportSummary summary;
        summary.id = rs.field("ID").toInteger();
        summary.started = dateOf(rs.field("Started"));
        summary.finished = dateOf(rs.field("Finished"));
        summary.posted = rs.field("Posted").toInteger();
        summary.undone = rs.field("Undone").toInteger();
        exports.push_back(summary);
    }
    return exports;
}

}  // namespace

std::int64_t beginExport(db::Connection& cn, const db::DateTime& now) {
    std::int64_t id = 0;
    cn.inTransaction([&] {
        db::Recordset rs;
        rs.open("select max(ID) as Highest from ExportRun", cn, db::CursorType::Static,
                db::LockType::ReadOnly);
        const db::Value highest = rs.eof() ? db::Value() : rs.field("Highest");
        id = highest.isNull() ? 1 : highest.toInteger() + 1;
        rs.close();
        cn.execute("insert into ExportRun (ID, Started) values (?, ?)",
                   {db::Value(id), db::Value(now)});
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

std::vector<JournalTicket> exportTickets(db::Connection& cn, std::int64_t id) {
    db::Recordset rs;
    rs.open(
        "select * from ExportTicket where ExportID = " + std::to_string(id) + " order by Sequence",
        cn, db::CursorType::Static, db::LockType::ReadOnly);
    std::vector<JournalTicket> tickets;
    for (; !rs.eof(); rs.moveNext()) {
        JournalTicket ticket;
        const db::Value sequence = rs.field("Sequence");
        ticket.sequence = sequence.isNull() ? 0 : sequence.toLong();
        const db::Value name = rs.field("Name");
        ticket.name = name.isNull() ? std::string() : name.toText();
        ticket.date = dateOf(rs.field("Date"));
        const db::Value hours = rs.field("Hours");
        ticket.hours = hours.isNull() ? 0.0F : hours.toSingle();
        const db::Value payType = rs.field("PayType");
        ticket.payType = payType.isNull() ? std::string() : payType.toText();
        const db::Value txnId = rs.field("TxnID");
        ticket.txnId = txnId.isNull() ? std::string() : txnId.toText();
        const db::Value undone = rs.field("Undone");
        ticket.undone = !undone.isNull() && undone.toBoolean();
        tickets.push_back(std::move(ticket));
    }
    return tickets;
}

void markUndone(db::Connection& cn, std::int64_t id, const std::vector<std::string>& txnIds) {
    if (txnIds.empty()) {
        return;
    }
    cn.inTransaction([&] {
        for (const std::string& txnId : txnIds) {
            cn.execute("update ExportTicket set Undone=? where ExportID=? and TxnID=?",
                       {db::Value(true), db::Value(id), db::Value(txnId)});
        }
    });
}

}  // namespace vantrell::stage
