#include <exception>
#include <set>
#include <string>

#include <pugixml.hpp>

#include "diag/Failure.h"
#include "diag/Guard.h"
#include "diag/RequireObject.h"
#include "diag/TraceFile.h"
#include "interfacedb/modDataDef.h"
#include "interfacedb/stage/PostingJournal.h"
#include "interfacedb/stage/Stage.h"
#include "interfacedb/stage/StageStatements.h"
#include "interfacedb/stage/StageTables.h"
#include "qblink/JournalTime.h"
#include "qblink/QuickBooksLink.h"
#include "qblink/RequestText.h"
#include "qblink/ValueFormat.h"
#include "qblink/XmlWriting.h"

namespace vantrell {

namespace {

void appendReference(pugi::xml_node parent, const char* name, const std::string& fullName) {
    appendTextElement(parent.append_child(name), "FullName", fullName);
}

}  // namespace

std::int64_t QuickBooksLink::currentExportId() {
    // An answer applied without an export of this link (never in the program's own run) is
    // recorded as one all the same, so that what it accepted is in the journal.
    if (!exportId_) {
        exportId_ =
            stage::recordSentExport(interfaceConnection(), journalNow(log_), sessionCompanyFile_);
    }
    return *exportId_;
}

// The ids of the tickets the answer accepted that left the stage (their record committed): a
// later check in this activation does not pair them with the tickets still staged.
void QuickBooksLink::rememberPairedAnswers() {
    std::set<std::int32_t> staged;
    for (const stage::StagedTicket& left : stage::readStagedTickets(interfaceConnection())) {
        staged.insert(left.sequence);
    }
    for (const auto& [sequence, answered] : answered_) {
        if (answered.fate == TicketFate::AcceptedUnrecorded && !answered.txnId.empty() &&
            !staged.contains(sequence)) {
            pairedTxnIds_.insert(answered.txnId);
        }
    }
}

namespace {

std::string ticketCount(std::int64_t count) {
    return std::to_string(count) + (count == 1 ? " time ticket" : " time tickets");
}

}  // namespace

// What the answer said, when Vantrell.mdb was locked while it was applied: nothing of it is
// recorded, whatever it said.
std::vector<std::string> QuickBooksLink::lockedOutLines() const {
    std::int64_t accepted = 0;
    for (const auto& [sequence, answered] : answered_) {
        if (answered.fate == TicketFate::AcceptedUnrecorded) {
            ++accepted;
        }
    }
    std::vector<std::string> lines;
    lines.push_back(
        "Vantrell.mdb is locked by another program: the answer of QuickBooks could "
        "not be recorded (see VantrellLog.txt).");
    if (accepted > 0) {
        lines.push_back(ticketCount(accepted) + (accepted == 1 ? " was" : " were") +
                        " posted in QuickBooks but could not be recorded in Vantrell.mdb. The "
                        "next run settles " +
                        (accepted == 1 ? "it." : "them."));
    }
    return lines;
}

// Each ticket the accounting system refused, with its message; then how many it did not get
// to, how many it took that could not be recorded, and how many nobody knows the fate of.
std::vector<std::string> QuickBooksLink::ticketsLeftLines() {
    std::vector<std::string> lines;
    std::int64_t notProcessed = 0;
    std::int64_t unrecorded = 0;
    std::int64_t unknown = 0;
    std::int64_t notSent = 0;
    bool refused = false;
    for (const stage::StagedTicket& left : stage::readStagedTickets(interfaceConnection())) {
        switch (ticketLeftReason(left).fate) {
            case TicketFate::NotProcessed:
                ++notProcessed;
                continue;
            case TicketFate::AcceptedUnrecorded:
                ++unrecorded;
                continue;
            case TicketFate::Unknown:
                ++unknown;
                continue;
            case TicketFate::NotSent:
                ++notSent;
                continue;
            case TicketFate::Refused:
                break;
        }
        refused = true;
        lines.push_back("Refused: " + left.name + ", " +
                        (left.date ? left.date->dateText() : std::string()) + ", " + left.payType +
                        ", " + db::Value(left.hours).toText() +
                        " hours: " + ticketLeftReason(left).reason);
    }
    if (notProcessed > 0) {
        const bool one = notProcessed == 1;
        const std::string count =
            refused ? std::to_string(notProcessed) + " more" : std::to_string(notProcessed);
        lines.push_back(count + (one ? " time ticket was" : " time tickets were") +
                        " not processed" +
                        (refused ? ": QuickBooks stopped at the refusal." : " by QuickBooks.") +
                        (one ? " It stays staged." : " They stay staged."));
    }
    if (unrecorded > 0) {
        lines.push_back(ticketCount(unrecorded) + (unrecorded == 1 ? " was" : " were") +
                        " posted in QuickBooks but could not be recorded in Vantrell.mdb (see "
                        "VantrellLog.txt). The next run settles " +
                        (unrecorded == 1 ? "it." : "them."));
    }
    if (unknown > 0) {
        lines.push_back(ticketCount(unknown) +
                        (unknown == 1 ? " was sent, and whether QuickBooks holds it"
                                      : " were sent, and whether QuickBooks holds them") +
                        " is not known: its answer was not read (see VantrellLog.txt). The next "
                        "run checks which of them QuickBooks holds.");
    }
    if (notSent > 0) {
        lines.push_back(ticketCount(notSent) + (notSent == 1 ? " was" : " were") +
                        " not sent: the request could not be made (see VantrellLog.txt). " +
                        (notSent == 1 ? "It stays staged." : "They stay staged."));
    }
    return lines;
}

QuickBooksLink::TicketLeft QuickBooksLink::ticketLeftReason(const stage::StagedTicket& left) const {
    if (!messageSent_) {
        return {TicketFate::NotSent,
                "not sent: the export ended before its message went out (see VantrellLog.txt)"};
    }
    const auto answered = answered_.find(left.sequence);
    if (answered == answered_.end()) {
        return {TicketFate::Unknown,
                "sent, but whether QuickBooks holds it is not known (its answer was not read); "
                "the next run checks"};
    }
    switch (answered->second.fate) {
        case TicketFate::Refused:
            return {TicketFate::Refused,
                    left.error.empty() ? answered->second.message : left.error};
        case TicketFate::NotProcessed:
            return {TicketFate::NotProcessed, !left.error.empty() ? left.error
                                              : !answered->second.message.empty()
                                                  ? answered->second.message
                                                  : "not processed by QuickBooks"};
        case TicketFate::AcceptedUnrecorded:
        case TicketFate::Unknown:
        case TicketFate::NotSent:
            break;
    }
    return {TicketFate::AcceptedUnrecorded,
            "posted in QuickBooks, but Vantrell.mdb could not record it; the next run settles it"};
}

std::string QuickBooksLink::BuildRequestString() {
    std::string result;
    guard(log_, "BuildRequestString", [&] {
        db::Recordset& rs = requireObject(rsPunch);

        pugi::xml_document xmlDoc;
        pugi::xml_node qbxml = xmlDoc.append_child("QBXML");
        pugi::xml_node msgs = qbxml.append_child("QBXMLMsgsRq");
        msgs.append_attribute("onError").set_value("stopOnError");

        rs.moveFirst();
        while (!rs.eof()) {
            pugi::xml_node request = msgs.append_child("TimeTrackingAddRq");
            request.append_attribute("requestID")
                .set_value(rs.field(stage::kSequence).toText().c_str());
            pugi::xml_node add = request.append_child("TimeTrackingAdd");
            appendTextElement(add, "TxnDate", dateToString(rs.field(stage::kDate).toText()));
            appendReference(add, "EntityRef", rs.field(stage::kName).toText());
            appendTextElement(add, "Duration", hoursToDuration(rs.field(stage::kHours).toSingle()));
            appendReference(add, "PayrollItemWageRef", rs.field(stage::kPayTypeColumn).toText());
            appendTextElement(add, "IsBillable", "false");
            rs.moveNext();
        }

        std::string text = timeTrackingProlog();
        StringWriter writer(text);
        xmlDoc.save(writer, "", pugi::format_raw | pugi::format_no_declaration,
                    pugi::encoding_utf8);
        result = std::move(text);

        // requestXML still holds the request sent before this one.
        SaveTextFile(log_.folder(), "RawData.txt", requestXML);
    });
    return result;
}

QuickBooksLink::ExportOutcome QuickBooksLink::ExportStagedTickets() {
    ExportOutcome outcome;
    guard(log_, "cmdExport_Click", [&] {
        // Without the interface database there is nothing to check or send.
        interfaceConnection();
        // What the accounting system holds is asked again right before the message is built, in
        // the session that sends it: whatever was posted since the activation's check (by an
        // earlier export, or by another program) is not sent again.
        CheckPostedTickets();
        if (!postedCheck_.made || !postedCheck_.issueLines.empty()) {
            outcome.ending = ExportOutcome::Ending::StoppedByCheck;
            outcome.issues = FindIssues();
            return;
        }
        answered_.clear();
        messageSent_ = false;
        exportId_.reset();  // an earlier export that failed mid-way is no longer the one applied
        rsPunch = std::make_unique<db::Recordset>();
        rsPunch->open(stage::kPunchBySequence, interfaceConnection(), db::CursorType::Dynamic,
                      db::LockType::Optimistic);
        if (blnHasRecords(log_, rsPunch)) {
            requestXML = BuildRequestString();
            SaveTextFile(log_.folder(), "PunchReq.txt", requestXML);
            // The journal's record of every ticket comes first: an export that cannot be
            // recorded is not sent. A request that could not be built carries no ticket.
            if (!requestXML.empty()) {
                exportId_ = stage::recordSentExport(interfaceConnection(), journalNow(log_),
                                                    sessionCompanyFile_);
                messageSent_ = true;
            }
            responseXML = processor().ProcessRequest(ticket, requestXML);
            // The accounting system has posted what it accepted: those tickets leave the stage
            // even when the trace cannot be written, or the next Export would post them twice.
            std::exception_ptr traceFailure;
            try {
                SaveTextFile(log_.folder(), "PunchResp.txt", responseXML);
            } catch (...) {
                traceFailure = std::current_exception();
            }
            applyLocked_ = false;
            ParseResponseXML("TimeTrackingAddRs", "TimeTrackingRet");
            if (applyLocked_) {
                // Every further read or write would wait as long again: what the answer said
                // is reported from memory, and the next run's check settles the rest.
                blnCloseRecordset(log_, rsPunch);
                outcome.ending = ExportOutcome::Ending::Finished;
                outcome.ticketsLeft = lockedOutLines();
                return;
            }
            rememberPairedAnswers();
            if (exportId_) {
                stage::finishExport(interfaceConnection(), *exportId_, journalNow(log_));
                exportId_.reset();
            }
            if (traceFailure) {
                std::rethrow_exception(traceFailure);
            }
        }
        blnCloseRecordset(log_, rsPunch);
        outcome.ending = ExportOutcome::Ending::Finished;
        outcome.ticketsLeft = ticketsLeftLines();
    });
    return outcome;
}

}  // namespace vantrell
