#include <exception>
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
    if (!exportId_) {
        exportId_ = stage::beginExport(interfaceConnection(), journalNow(log_));
    }
    return *exportId_;
}

// Each ticket the accounting system refused, with its message, and how many it did not get to.
std::vector<std::string> QuickBooksLink::ticketsLeftLines() {
    std::vector<std::string> lines;
    std::int64_t notProcessed = 0;
    bool refused = false;
    for (const stage::StagedTicket& left : stage::readStagedTickets(interfaceConnection())) {
        if (left.error.empty() || notProcessed_.contains(left.sequence)) {
            ++notProcessed;
            continue;
        }
        refused = true;
        lines.push_back("Refused: " + left.name + ", " +
                        (left.date ? left.date->dateText() : std::string()) + ", " + left.payType +
                        ", " + db::Value(left.hours).toText() + " hours: " + left.error);
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
    return lines;
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
        if (!settleEarlierExport()) {
            outcome.ending = ExportOutcome::Ending::StoppedByCheck;
            outcome.issues = FindIssues();
            return;
        }
        rsPunch = std::make_unique<db::Recordset>();
        rsPunch->open(stage::kPunchBySequence, interfaceConnection(), db::CursorType::Dynamic,
                      db::LockType::Optimistic);
        if (blnHasRecords(log_, rsPunch)) {
            requestXML = BuildRequestString();
            SaveTextFile(log_.folder(), "PunchReq.txt", requestXML);
            // The journal's record comes first: an export that cannot be recorded is not sent.
            exportId_ = stage::beginExport(interfaceConnection(), journalNow(log_));
            exportSent_ = true;
            notProcessed_.clear();
            responseXML = processor().ProcessRequest(ticket, requestXML);
            // The accounting system has posted what it accepted: those tickets leave the stage
            // even when the trace cannot be written, or the next Export would post them twice.
            std::exception_ptr traceFailure;
            try {
                SaveTextFile(log_.folder(), "PunchResp.txt", responseXML);
            } catch (...) {
                traceFailure = std::current_exception();
            }
            ParseResponseXML("TimeTrackingAddRs", "TimeTrackingRet");
            stage::finishExport(interfaceConnection(), *exportId_, journalNow(log_));
            exportId_.reset();
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
