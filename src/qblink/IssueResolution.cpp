#include <string>
#include <vector>

#include "diag/Failure.h"
#include "diag/Guard.h"
#include "diag/TraceFile.h"
#include "interfacedb/modDataDef.h"
#include "interfacedb/stage/StageStatements.h"
#include "interfacedb/stage/StageTables.h"
#include "qblink/QuickBooksLink.h"
#include "qblink/RequestText.h"
#include "qblink/ResponseWalk.h"
#include "qblink/XmlReading.h"

namespace vantrell {

namespace {

constexpr const char* kNamesNotChecked =
    "The names could not be checked against QuickBooks; see VantrellLog.txt.";

std::vector<std::string> incompleteStageLines(const ExtractionOutcome& extraction) {
    std::vector<std::string> lines;
    if (extraction.extractionFailed && !extraction.stoppedAt.empty()) {
        // Every day after it is missing too: the one named is where to look.
        lines.push_back("The time data could not be read completely: the extraction stopped at " +
                        extraction.stoppedAt + "; see VantrellLog.txt.");
    } else if (extraction.extractionFailed) {
        lines.emplace_back("The time data could not be read completely; see VantrellLog.txt.");
    }
    for (const std::string& day : extraction.daysNotStaged) {
        lines.push_back("The time data could not be read completely: " + day +
                        " could not be staged; see VantrellLog.txt.");
    }
    // The names that row would have replaced may be staged under the wrong name.
    for (const std::string& damage : extraction.mapDamage) {
        lines.push_back("The name map in Vantrell.mdb is damaged and was not applied: " + damage +
                        ".");
    }
    return lines;
}

}  // namespace

void QuickBooksLink::ResolveWithQB() {
    namesChecked_ = false;
    employeeHints_.clear();
    payTypeHints_.clear();
    guard(log_, "ResolveWithQB", [&] {
        requestXML = resolveQueryRequest();
        SaveTextFile(log_.folder(), "ResolveReq.txt", requestXML);
        responseXML = processor().ProcessRequest(ticket, requestXML);
        // A large company's answer is kept through the check and the export: without the room
        // its writing left over.
        responseXML.shrink_to_fit();
        SaveTextFile(log_.folder(), "ResolveResp.txt", responseXML);
        // One answer for both lists, loaded once: a large company's answer takes a while.
        ResponseWalk employees(log_, "EmployeeRet");
        std::unique_ptr<pugi::xml_document> answer = loadResponse(employees);
        if (answer) {
            applyAnswer(employees, *answer, "EmployeeQueryRs", "EmployeeRet");
        }
        const bool employeesAnswered = lastAnswerUsable_;
        ResponseWalk wageItems(log_, "PayrollItemWageRet");
        if (answer || (answer = loadResponse(wageItems))) {
            applyAnswer(wageItems, *answer, "PayrollItemWageQueryRs", "PayrollItemWageRet");
        } else {
            lastAnswerUsable_ = false;
        }
        namesChecked_ = employeesAnswered && lastAnswerUsable_;
        if (!*namesChecked_) {
            throw Failure(
                "The answer of QuickBooks does not say which employees and wage items it holds.");
        }
    });
}

// Adds one issue line per row of `query` to `report`, each followed by its hint when it has
// one.
void QuickBooksLink::listNames(IssueReport& report, const char* query, const char* linePrefix,
                               const NameHints& hints, stage::NameKind kind) {
    RecordsetRef rs = std::make_unique<db::Recordset>();
    rs->open(query, interfaceConnection(), db::CursorType::Dynamic, db::LockType::Optimistic);
    if (blnHasRecords(log_, rs)) {
        rs->moveFirst();
        while (!rs->eof()) {
            // An empty name is still an issue; a missing one reads as empty, as text joined to
            // a null value does.
            const db::Value name = rs->field(stage::kName);
            const std::string text = name.isNull() ? std::string() : name.toText();
            const std::vector<std::string> mapped =
                stage::mappedFrom(interfaceConnection(), kind, text);
            // The name's lines, each noted with the names a map entry made from it would map.
            const auto addLine = [&](std::string line, std::vector<std::string> chronelNames) {
                if (!text.empty()) {
                    report.nameLines.push_back(
                        {report.lines.size(), kind, text, std::move(chronelNames)});
                }
                report.lines.push_back(std::move(line));
            };
            // A name the map gave is corrected at its map entries: a second entry for the
            // staged name would never apply, as the map is applied once.
            addLine(linePrefix + text, mapped.empty() ? std::vector<std::string>{text} : mapped);
            // A name the map gave: the clerk looks for the map entry, not for this name in
            // the time-and-attendance system.
            for (const std::string& from : mapped) {
                addLine("  The name map gives " + text + " for the " + stage::nameKindText(kind) +
                            " " + from + ", and QuickBooks has no " + text + ".",
                        {from});
            }
            if (const auto hint = hints.find(text); hint != hints.end()) {
                addLine("  " + hint->second,
                        mapped.empty() ? std::vector<std::string>{text} : mapped);
            }
            ++report.issues;
            rs->moveNext();
        }
    }
    blnCloseRecordset(log_, rs);
}

QuickBooksLink::IssueReport QuickBooksLink::FindIssues() {
    IssueReport report;
    report.complete = guard(log_, "ShowIssues", [&] {
        if (namesChecked_.value_or(true)) {
            listNames(report, stage::kEmployeesByName, "Missing Employee ", employeeHints_,
                      stage::NameKind::Employee);
            listNames(report, stage::kPayTypesByName, "Mising Pay Type ", payTypeHints_,
                      stage::NameKind::PayType);
        } else {
            // Every staged name would read as missing, though QuickBooks may hold them all.
            report.lines.emplace_back(kNamesNotChecked);
            ++report.issues;
        }
        // A stage the extraction could not complete must never be offered: part of the
        // payroll would be posted as if it were all of it.
        for (std::string& line : incompleteStageLines(extraction_)) {
            report.lines.push_back(std::move(line));
            ++report.issues;
        }
        for (const std::string& line : postedCheck_.issueLines) {
            report.lines.push_back(line);
            ++report.issues;
        }
        report.alreadyPosted = postedCheck_.alreadyPosted;
    });
    return report;
}

}  // namespace vantrell
