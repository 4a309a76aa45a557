#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "diag/FileSystem.h"
#include "diag/Utf16.h"
#include "shell/win32/RegistrySettingsStore.h"
#include "support/DemoCompany.h"
#include "support/Sandbox.h"

namespace vantrell::win32 {
namespace {

struct CliRun {
    DWORD status = 0xFFFFFFFF;
    std::string out;
    std::string err;
};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// One argument quoted as the C run-time splits a command line: backslashes are literal except
// before a double quote.
std::wstring quoted(const std::wstring& argument) {
    std::wstring result = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        result.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        result.push_back(c);
    }
    result.append(backslashes * 2, L'\\');
    return result + L"\"";
}

HANDLE inheritableFile(const std::filesystem::path& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The settings at the key the program really uses, saved before a test and put back after it,
// since vantrell-cli.exe stores the locations it is given there.
class SavedSettings {
  public:
    SavedSettings() {
        for (const char* key : {"CHprog", "QBdata"}) {
            const std::string value = store_.GetSetting("CH7", "QuickBooks", key, "\x01");
            saved_[key] = value == "\x01" ? std::nullopt : std::optional<std::string>(value);
            store_.SaveSetting("CH7", "QuickBooks", key, "");
        }
    }
    ~SavedSettings() {
        for (const auto& [key, value] : saved_) {
            if (value) {
                store_.SaveSetting("CH7", "QuickBooks", key, *value);
            } else {
                RegDeleteKeyValueW(HKEY_CURRENT_USER,
                                   widen(store_.sectionKey("CH7", "QuickBooks")).c_str(),
                                   widen(key).c_str());
            }
        }
    }
    SavedSettings(const SavedSettings&) = delete;
    SavedSettings& operator=(const SavedSettings&) = delete;

  private:
    RegistrySettingsStore store_;
    std::map<std::string, std::optional<std::string>> saved_;
};

// vantrell-cli.exe run as its own process, with the accounting system's request processor of
// the COM registration (the fake around the simulated accounting system), on the demo
// time-and-attendance file and a company file that knows every staged name but the last
// employee.
struct CliOverCom : ::testing::Test {
    testing::Sandbox sandbox;
    SavedSettings savedSettings;
    std::string data = pathToUtf8(sandbox.file("program"));
    std::string chronel = pathToUtf8(sandbox.file("ChronelV7.mde"));
    std::string company = pathToUtf8(sandbox.file("Company.qbw"));
    std::filesystem::path callLog = sandbox.file("calls.txt");
    std::vector<std::string> employees;

    void SetUp() override {
        employees = testing::writeDemoWithOneEmployeeMissing(chronel, company).employees;
        ASSERT_GE(employees.size(), 2u);
    }

    std::string qbsim(const std::vector<std::string>& args) {
        return testing::runQbsimChecked(args);
    }

    // Runs vantrell-cli.exe with `args`; `failing` names an operation the fake refuses.
    CliRun cli(const std::vector<std::string>& args, const std::string& failing = "") {
        const std::filesystem::path program = std::filesystem::absolute(VANTRELL_CLI_PATH);
        std::wstring command = quoted(program.wstring());
        for (const auto& arg : args) {
            command += L" " + quoted(widen(arg));
        }
        SetEnvironmentVariableW(L"VANTRELL_FAKERP_LOG", callLog.c_str());
        SetEnvironmentVariableW(L"VANTRELL_FAKERP_FAIL",
                                failing.empty() ? nullptr : widen(failing).c_str());
        SetEnvironmentVariableW(L"VANTRELL_DATA_DIR", nullptr);

        const HANDLE in = inheritableFile(L"NUL", GENERIC_READ, OPEN_EXISTING);
        const HANDLE out = inheritableFile(sandbox.file("out.txt"), GENERIC_WRITE, CREATE_ALWAYS);
        const HANDLE err = inheritableFile(sandbox.file("err.txt"), GENERIC_WRITE, CREATE_ALWAYS);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = in;
        startup.hStdOutput = out;
        startup.hStdError = err;
        PROCESS_INFORMATION process{};
        CliRun run;
        if (CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                           nullptr, &startup, &process)) {
            WaitForSingleObject(process.hProcess, 60000);
            GetExitCodeProcess(process.hProcess, &run.status);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
        for (const HANDLE handle : {in, out, err}) {
            CloseHandle(handle);
        }
        run.out = sandbox.read("out.txt");
        run.err = sandbox.read("err.txt");
        return run;
    }

    std::vector<std::string> calls() { return linesOf(sandbox.read("calls.txt")); }
    std::string programFile(const std::string& name) { return sandbox.read("program/" + name); }
};

TEST_F(CliOverCom, IssueThenExportThroughTheAccountingSystemsOwnProcessor) {
    const std::string missing = employees.back();
    CliRun run = cli({"--data-dir", data, "--chronel", chronel, "--company", company});
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(linesOf(run.out),
              (std::vector<std::string>{"Missing Employee " + missing, "",
                                        "There are 1 issues requiring resolution."}));
    const auto session = calls();
    // The names are resolved, then the already-posted check asks in a message of its own, and
    // so does the question behind the hints under the missing name.
    ASSERT_EQ(session.size(), 7u) << sandbox.read("calls.txt");
    EXPECT_EQ(session[0], "OpenConnection QBMarwick|Chronel interface");
    EXPECT_EQ(session[1], "BeginSession " + company + "|0");
    EXPECT_EQ(session[2].rfind("ProcessRequest {", 0), 0u);
    EXPECT_EQ(session[3].rfind("ProcessRequest {", 0), 0u);
    EXPECT_NE(session[3].find("<TimeTrackingQueryRq"), std::string::npos) << session[3];
    EXPECT_EQ(session[4].rfind("ProcessRequest {", 0), 0u);
    EXPECT_NE(session[4].find("<PayrollItemNonWageQueryRq"), std::string::npos) << session[4];
    EXPECT_EQ(session[5].rfind("EndSession {", 0), 0u);
    EXPECT_EQ(session[6], "CloseConnection");

    // The locations went to the registry, where the next process finds them.
    RegistrySettingsStore settings;
    EXPECT_EQ(settings.GetSetting("CH7", "QuickBooks", "CHprog", ""), chronel);
    EXPECT_EQ(settings.GetSetting("CH7", "QuickBooks", "QBdata", ""), company);

    qbsim({"add-employee", company, missing});
    run = cli({"--data-dir", data, "--export"});
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(linesOf(run.out).back(), "Export complete.");
    EXPECT_NE(qbsim({"list-time", company}).find(missing), std::string::npos);
    EXPECT_NE(programFile("PunchResp.txt").find("TimeTrackingAddRs"), std::string::npos);
    EXPECT_EQ(programFile("VantrellLog.txt"), "");
}

TEST_F(CliOverCom, SecondExportPostsNothingTheAccountingSystemAlreadyHolds) {
    qbsim({"add-employee", company, employees.back()});
    CliRun run = cli({"--data-dir", data, "--chronel", chronel, "--company", company, "--export"});
    ASSERT_EQ(run.status, 0u) << run.err;
    ASSERT_EQ(linesOf(run.out).back(), "Export complete.");
    const std::string posted = qbsim({"list-time", company});
    const std::size_t count = linesOf(posted).size();
    ASSERT_GT(count, 0u);
    // The tickets sent for posting: the add elements in the requests the fake received.
    const auto adds = [&] {
        const std::string log = sandbox.read("calls.txt");
        std::size_t n = 0;
        for (auto at = log.find("<TimeTrackingAddRq"); at != std::string::npos;
             at = log.find("<TimeTrackingAddRq", at + 1)) {
            ++n;
        }
        return n;
    };
    const std::size_t addsAfterFirstRun = adds();
    ASSERT_EQ(addsAfterFirstRun, count);

    // The second run finds every staged ticket in the company file and sends no add.
    run = cli({"--data-dir", data, "--export"});
    EXPECT_EQ(run.status, 0u) << run.err;
    const auto lines = linesOf(run.out);
    ASSERT_GE(lines.size(), 4u) << run.out;
    EXPECT_EQ(
        std::vector<std::string>(lines.end() - 4, lines.end()),
        (std::vector<std::string>{
            "",
            count == 1 ? "1 time ticket is already in QuickBooks and will not be posted again."
                       : std::to_string(count) + " time tickets are already in QuickBooks and "
                                                 "will not be posted again.",
            "", "Export complete."}))
        << run.out;
    EXPECT_EQ(qbsim({"list-time", company}), posted);
    EXPECT_EQ(adds(), addsAfterFirstRun);
    EXPECT_NE(programFile("CheckResp.txt").find("TimeTrackingQueryRs"), std::string::npos);
    EXPECT_EQ(programFile("VantrellLog.txt"), "");
}

TEST_F(CliOverCom, RefusedConnectionShowsTheComponentsTextAndHresultAndEndsTheProgram) {
    const CliRun run =
        cli({"--data-dir", data, "--chronel", chronel, "--company", company}, "OpenConnection");
    EXPECT_EQ(run.status, 1u);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "ERROR: open the connection\r\nCould not start QuickBooks. (HRESULT 0x80040408)"
              "\r\nOpenQBConnection\n");
    const std::string log = programFile("VantrellLog.txt");
    EXPECT_NE(log.find("OpenQBConnection Could not start QuickBooks. (HRESULT 0x80040408)\r\n"
                       " open the connection\r\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(calls(), (std::vector<std::string>{"OpenConnection QBMarwick|Chronel interface"}));
}

TEST_F(CliOverCom, RefusedSessionClosesTheConnectionAgain) {
    const std::string notCompany = chronel;  // exists, but is no company file
    const CliRun run = cli({"--data-dir", data, "--chronel", chronel, "--company", notCompany});
    EXPECT_EQ(run.status, 1u);
    EXPECT_EQ(run.err.rfind("ERROR: begin a session at " + notCompany + "\r\n", 0), 0u) << run.err;
    EXPECT_NE(run.err.find("(HRESULT 0x8004"), std::string::npos) << run.err;
    const auto session = calls();
    ASSERT_EQ(session.size(), 3u) << sandbox.read("calls.txt");
    EXPECT_EQ(session[2], "CloseConnection");
}

TEST_F(CliOverCom, SimulatedProcessorStillServesWhenAsked) {
    const CliRun run =
        cli({"--data-dir", data, "--chronel", chronel, "--company", company, "--processor", "sim"});
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(linesOf(run.out).back(), "There are 1 issues requiring resolution.");
    EXPECT_TRUE(calls().empty());
}

}  // namespace
}  // namespace vantrell::win32
