#pragma once

#include <string>
#include <vector>

namespace vantrell::testing {

// The names the demo time-and-attendance file stages, in the order it stages them.
struct DemoNames {
    std::vector<std::string> employees;
    std::vector<std::string> wageItems;
};

// Writes the demo time-and-attendance file at `chronel` and, at `company`, a company file of
// the stand-in accounting system that knows every staged wage item and every staged employee
// but the last, so that a run lists exactly that employee. Returns the staged names; a step
// that fails fails the test.
DemoNames writeDemoWithOneEmployeeMissing(const std::string& chronel, const std::string& company);

// Makes at `company` a company file of the stand-in accounting system with names close to
// "Bob Jones" ("Jones, Bob", Robert Jones, and Bobby Jones inactive) beside Worker One, and the
// wage items `wageItem` and Overtime: what the name map's windows offer for Bob Jones.
void writeCloseNamesCompany(const std::string& company, const std::string& wageItem);

// Runs the stand-in accounting system's company-file tool with `args` and returns its output;
// a non-zero status fails the test.
std::string runQbsimChecked(const std::vector<std::string>& args);

}  // namespace vantrell::testing
