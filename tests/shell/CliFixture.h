#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Sandbox.h"

namespace vantrell::testing {

// How one run of vantrell-cli ended.
struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// The lines of a text, without their ends.
std::vector<std::string> linesOf(const std::string& text);

// vantrell-cli run as a separate process, with settings of its own, on a time-and-attendance
// file and a company file of the stand-in accounting system in a sandbox.
struct CliFixture : ::testing::Test {
    Sandbox sandbox;
    std::string data = sandbox.file("program").string();
    std::string chronel = sandbox.file("ChronelV7.mde").string();
    std::string company = sandbox.file("Company.qbw").string();
    std::vector<std::string> employees;
    std::vector<std::string> wageItems;
    // Put before the program on its command line, for example "timeout 60".
    std::string wrapper;
    // The folder the program runs in; the test's own when empty.
    std::string workingFolder;

    // The demo time-and-attendance file and a company file that knows every staged name but
    // the last employee.
    void writeDemoData();

    // A time-and-attendance file with one worked day (Worker One, 2026-03-02, 8 hours Hourly)
    // and a company file that knows `knownEmployees` and the wage items Hourly and Overtime.
    void writeSmallData(const std::vector<std::string>& knownEmployees);
    // Runs one statement on the time-and-attendance file.
    void runOnChronel(const std::string& sql);

    // The stand-in accounting system's tool; a failure fails the test.
    std::string qbsim(const std::vector<std::string>& args);
    // The tickets the company file holds, one line each.
    std::vector<std::string> postedTickets();

    CliRun cli(const std::vector<std::string>& args);
    // With the program folder and both files given.
    CliRun cliWithFiles(std::vector<std::string> more = {});

    std::string programFile(const std::string& name) { return sandbox.read("program/" + name); }
    // The settings file that the runs' settings store writes.
    std::string settingsFile() const {
        return sandbox.file("config/VB and VBA Program Settings/CH7.conf").string();
    }
};

}  // namespace vantrell::testing
