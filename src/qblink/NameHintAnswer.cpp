#include "qblink/NameHintAnswer.h"

#include <optional>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "diag/Failure.h"
#include "qblink/StrictXmlLoader.h"
#include "qblink/XmlReading.h"

namespace vantrell {

namespace {

// Reads the entries of one query's answers into `held`; says in `problems` why a list could
// not be read, leaving it empty then.
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

hints::HeldLists readHeldLists(std::string response, HeldListProblems& problems) {
    pugi::xml_document document;
    if (const std::optional<std::string> failure = loadXmlStrictInPlace(document, response)) {
        throw Failure("The answer of QuickBooks could not be read: " + *failure);
    }
    hints::HeldLists lists;
    readList(document, "EmployeeQueryRs", "EmployeeRet", "employees", lists.employees,
             problems.employees);
    readList(document, "PayrollItemWageQueryRs", "PayrollItemWageRet", "wage items",
             lists.wageItems, problems.wageItems);
    readList(document, "PayrollItemNonWageQueryRs", "PayrollItemNonWageRet", "other payroll items",
             lists.otherPayrollItems, problems.otherPayrollItems);
    return lists;
}

hints::HeldLists readHeldLists(std::string response, std::string& problems) {
    HeldListProblems apart;
    hints::HeldLists lists = readHeldLists(std::move(response), apart);
    for (const std::string* problem :
         {&apart.employees, &apart.wageItems, &apart.otherPayrollItems}) {
        if (!problem->empty()) {
            problems += (problems.empty() ? "" : " ") + *problem;
        }
    }
    return lists;
}

}  // namespace vantrell
