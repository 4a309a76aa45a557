#include "support/DemoCompany.h"

#include <gtest/gtest.h>

#include <sstream>

#include "sampledata/DemoData.h"
#include "sampledata/StagedNameList.h"
#include "standins/QbsimCommand.h"

namespace vantrell::testing {

std::string runQbsimChecked(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(standins::runQbsim(args, out, err), 0) << err.str();
    return out.str();
}

void writeCloseNamesCompany(const std::string& company, const std::string& wageItem) {
    runQbsimChecked({"create", company});
    runQbsimChecked(
        {"add-employee", company, "Worker One", "Jones, Bob", "Robert Jones", "Bobby Jones"});
    runQbsimChecked({"set-inactive", company, "Bobby Jones"});
    runQbsimChecked({"add-wage-item", company, wageItem, "Overtime"});
}

DemoNames writeDemoWithOneEmployeeMissing(const std::string& chronel, const std::string& company) {
    sampledata::writeDemoFile(chronel);
    std::ostringstream names;
    std::ostringstream errors;
    EXPECT_EQ(sampledata::listStagedNames(chronel, names, errors), 0) << errors.str();
    DemoNames staged;
    std::istringstream lines(names.str());
    for (std::string line; std::getline(lines, line);) {
        const auto tab = line.find('\t');
        (line.substr(0, tab) == "employee" ? staged.employees : staged.wageItems)
            .push_back(line.substr(tab + 1));
    }
    if (staged.employees.empty()) {
        return staged;
    }
    runQbsimChecked({"create", company});
    std::vector<std::string> add = {"add-wage-item", company};
    add.insert(add.end(), staged.wageItems.begin(), staged.wageItems.end());
    runQbsimChecked(add);
    add = {"add-employee", company};
    add.insert(add.end(), staged.employees.begin(), staged.employees.end() - 1);
    runQbsimChecked(add);
    return staged;
}

}  // namespace vantrell::testing
