#include "shell/CliFixture.h"

#include <sys/wait.h>

#include <cstdlib>
#include <sstream>

#include "interfacedb/Connection.h"
#include "interfacedb/ConnectionString.h"
#include "shell/ChronelFixture.h"
#include "support/DemoCompany.h"

namespace vantrell::testing {

namespace {

std::string quoted(const std::string& text) {
    std::string q = "'";
    for (char c : text) {
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return q + "'";
}

}  // namespace

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

void CliFixture::writeDemoData() {
    auto staged = writeDemoWithOneEmployeeMissing(chronel, company);
    employees = std::move(staged.employees);
    wageItems = std::move(staged.wageItems);
    ASSERT_GE(employees.size(), 2u);
}

void CliFixture::writeSmallData(const std::vector<std::string>& knownEmployees) {
    writeSmallChronelFile(chronel, "Worker One");
    qbsim({"create", company});
    std::vector<std::string> add = {"add-employee", company};
    add.insert(add.end(), knownEmployees.begin(), knownEmployees.end());
    qbsim(add);
    qbsim({"add-wage-item", company, "Hourly", "Overtime"});
}

void CliFixture::runOnChronel(const std::string& sql) {
    db::Connection cn;
    cn.open(db::connectionStringFor(chronel));
    cn.execute(sql);
}

std::string CliFixture::qbsim(const std::vector<std::string>& args) {
    return runQbsimChecked(args);
}

std::vector<std::string> CliFixture::postedTickets() {
    return linesOf(qbsim({"list-time", company}));
}

CliRun CliFixture::cli(const std::vector<std::string>& args) {
    const std::string& folder = workingFolder;
    std::string command = folder.empty() ? "" : "cd " + quoted(folder) + " && ";
    command +=
        "env -u VANTRELL_DATA_DIR XDG_CONFIG_HOME=" + quoted(sandbox.file("config").string()) +
        " " + wrapper + " " + quoted(VANTRELL_CLI_PATH);
    for (const auto& arg : args) {
        command += " " + quoted(arg);
    }
    command += " >" + quoted(sandbox.file("out.txt").string()) + " 2>" +
               quoted(sandbox.file("err.txt").string()) + " </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, sandbox.read("out.txt"),
            sandbox.read("err.txt")};
}

CliRun CliFixture::cliWithFiles(std::vector<std::string> more) {
    std::vector<std::string> args = {"--data-dir", data,        "--chronel",
                                     chronel,      "--company", company};
    args.insert(args.end(), more.begin(), more.end());
    return cli(args);
}

}  // namespace vantrell::testing
