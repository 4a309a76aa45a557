#include <optional>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "diag/Failure.h"
#include "diag/Guard.h"
#include "diag/TraceFile.h"
#include "interfacedb/Recordset.h"
#include "interfacedb/stage/StageStatements.h"
#include "interfacedb/stage/StageTables.h"
#include "qblink/NameHints.h"
#include "qblink/QuickBooksLink.h"
#include "qblink/RequestText.h"
#include "qblink/StrictXmlLoader.h"
#include "qblink/XmlReading.h"

namespace vantrell {

namespace {

std::vector<std::string> namesOf(db::Connection& cn, const char* query) {
    db::Recordset rs;
    rs.open(query, cn, db::CursorType::Static, db::LockType::ReadOnly);
    std::vector<std::string> names;
    for (; !rs.eof(); rs.moveNext()) {
        const db::Value name = rs.field(stage::kName);
        names.push_back(name.isNull() ? std::string() : name.toText());
    }
    return names;
}

// Reads the entries of one query's answers into `held`; says in `problems` why a list could
// not be read, leaving it empty then, so that no hint rests on half a list.
void readList(const pugi::xml_document& document, const char* answerName, const char* recordName,
              const char* listWord, std::vector<hints::HeldName>& held, std::string& problems) {
    const std::vector<pugi::xml_node> answers = elementsByTagName(document, answerName);
    std::string problem;
    if (answers.empty()) {
        problem = std::string("The answer of QuickBooks holds no ") + answerName + ".";
    }
    for (const pugi::xml_node& answer : answers) {
        const std::string status = answer.attribute("statusCode").value();
        if (status == "1") {
            continue;
        }
        if (status != "0") {
            problem = "QuickBooks refused the query of its " + std::string(listWord) + ": status " +
                      status + ", " + answer.attribute("statusMessage").value();
            break;
        }
        for (const pugi::xml_node& record : answer.children(recordName)) {
            const pugi::xml_node isActive = record.child("IsActive");
            // IsActive is optional and true when left out.
            held.push_back(
                {elementText(record.child("Name")), !isActive || elementText(isActive) != "false"});
        }
    }
    if (!problem.empty()) {
        held.clear();
        problems += (problems.empty() ? "" : " ") + problem;
    }
}

}  // namespace

void QuickBooksLink::ExplainMissingNames() {
    employeeHints_.clear();
    payTypeHints_.clear();
    // Without an answered resolution no name is listed as missing, so none needs a reason.
    if (!namesChecked_.value_or(false)) {
        return;
    }
    guard(log_, "ExplainMissingNames", [&] {
        db::Connection& cn = interfaceConnection();
        const std::vector<std::string> employees = namesOf(cn, stage::kEmployeesByName);
        const std::vector<std::string> payTypes = namesOf(cn, stage::kPayTypesByName);
        if (employees.empty() && payTypes.empty()) {
            return;
        }
        const std::string request = nameHintQueryRequest();
        SaveTextFile(log_.folder(), "HintReq.txt", request);
        std::string response = processor().ProcessRequest(ticket, request);
        SaveTextFile(log_.folder(), "HintResp.txt", response);

        pugi::xml_document document;
        if (const std::optional<std::string> failure = loadXmlStrictInPlace(document, response)) {
            throw Failure("The answer of QuickBooks could not be read: " + *failure);
        }
        hints::HeldLists lists;
        std::string problems;
        readList(document, "EmployeeQueryRs", "EmployeeRet", "employees", lists.employees,
                 problems);
        readList(document, "PayrollItemWageQueryRs", "PayrollItemWageRet", "wage items",
                 lists.wageItems, problems);
        readList(document, "PayrollItemNonWageQueryRs", "PayrollItemNonWageRet",
                 "other payroll items", lists.otherPayrollItems, problems);

        // What could be read still explains what it can; the rest is logged.
        const hints::HintFinder finder(lists);
        for (const std::string& name : employees) {
            if (auto hint = finder.employeeHint(name)) {
                employeeHints_[name] = std::move(*hint);
            }
        }
        for (const std::string& name : payTypes) {
            if (auto hint = finder.payTypeHint(name)) {
                payTypeHints_[name] = std::move(*hint);
            }
        }
        if (!problems.empty()) {
            throw Failure(problems);
        }
    });
}

}  // namespace vantrell
