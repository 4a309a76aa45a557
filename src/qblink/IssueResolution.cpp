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

std::string alreadyPostedLine(std::int64_t count) {
    return count == 1 ? "1 time ticket is already in QuickBooks and will not be posted again."
                      : std::to_string(count) +
                            " time tickets are already in QuickBooks and will not be posted again.";
}

std::vector<std::string> incompleteStageLines(const ExtractionOutcome& extraction) {
    std::vector<std::string> lines;
    if (extraction.extractionFailed) {
        lines.emplace_back("The time data could not be read completely; see VantrellLog.txt.");
    }
    for (const std::string& day : extraction.daysNotStaged) {
        lines.push_back("The time data could not be read completely: " + day +
                        " could not be staged; see VantrellLog.txt.");
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

// Adds one issue line per row of `query`, each followed by its hint when it has one, and
// returns how many issues were added.
std::int64_t QuickBooksLink::listNames(const char* query, const char* linePrefix,
                                       const NameHints& hints) {
    std::int64_t count = 0;
    RecordsetRef rs = std::make_unique<db::Recordset>();
    rs->open(query, interfaceConnection(), db::CursorType::Dynamic, db::LockType::Optimistic);
    if (blnHasRecords(log_, rs)) {
        rs->moveFirst();
        while (!rs->eof()) {
            // An empty name is still an issue; a missing one reads as empty, as text joined to
            // a null value does.
            const db::Value name = rs->field(stage::kName);
            const std::string text = name.isNull() ? std::string() : name.toText();
            controls_.addListLine(linePrefix + text);
            if (const auto hint = hints.find(text); hint != hints.end()) {
                controls_.addListLine("  " + hint->second);
            }
            ++count;
            rs->moveNext();
        }
    }
    blnCloseRecordset(log_, rs);
    return count;
}

void QuickBooksLink::ShowIssues() {
    guard(log_, "ShowIssues", [&] {
        controls_.clearList();
        std::int64_t issues = 0;
        if (namesChecked_.value_or(true)) {
            issues += listNames(stage::kEmployeesByName, "Missing Employee ", employeeHints_);
            issues += listNames(stage::kPayTypesByName, "Mising Pay Type ", payTypeHints_);
        } else {
            // Every staged name would read as missing, though QuickBooks may hold them all.
            controls_.addListLine(kNamesNotChecked);
            ++issues;
        }
        // A stage the extraction could not complete must never be offered: part of the
        // payroll would be posted as if it were all of it.
        for (const std::string& line : incompleteStageLines(extraction_)) {
            controls_.addListLine(line);
            ++issues;
        }
        for (const std::string& line : postedCheck_.issueLines) {
            controls_.addListLine(line);
            ++issues;
        }
        if (issues == 0) {
            controls_.addListLine("Click Export to post your time tickets in QuickBooks.");
            controls_.setButtonEnabled(WindowButton::Export, true);
            controls_.setButtonEnabled(WindowButton::Close, true);
            controls_.setButtonEnabled(WindowButton::Print, false);
        } else {
            controls_.addListLine("");
            controls_.addListLine("There are " + std::to_string(issues) +
                                  " issues requiring resolution.");
            controls_.setButtonEnabled(WindowButton::Export, false);
            controls_.setButtonEnabled(WindowButton::Close, true);
            controls_.setButtonEnabled(WindowButton::Print, true);
        }
        if (postedCheck_.alreadyPosted > 0) {
            controls_.addListLine("");
            controls_.addListLine(alreadyPostedLine(postedCheck_.alreadyPosted));
        }
    });
}

}  // namespace vantrell
