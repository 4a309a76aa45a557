#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "CompanyFixture.h"
#include "standins/ProcessorError.h"
#include "standins/QbsimCommand.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace vantrell::standins {
namespace {

using testing::CompanyFixture;
using testing::exportRequest;

struct QbsimRun {
    int status;
    std::string out;
    std::string err;
};

class QbsimTest : public CompanyFixture {
  public:
    QbsimRun qbsim(std::vector<std::string> args) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = runQbsim(args, out, err, clock);
        return {status, out.str(), err.str()};
    }
    QbsimRun onFile(const std::string& command, std::vector<std::string> names = {}) {
        names.insert(names.begin(), {command, path.string()});
        return qbsim(names);
    }
};

TEST_F(QbsimTest, WithoutACommandShowsTheUsageAndFails) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"create"}, {"list-time"}, {"add-employee", path.string()}, {"remove", "x"}}) {
        const auto run = qbsim(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.out.empty());
        EXPECT_EQ(run.err.rfind("usage: qbsim create FILE\n", 0), 0u) << run.err;
    }
}

TEST_F(QbsimTest, ListTimeShowsWhatWasPostedInTheOrderPosted) {
    ASSERT_EQ(onFile("add-employee", {"Worker One", "Zoë Łukasz"}).status, 0);
    ASSERT_EQ(onFile("add-wage-item", {"Hourly", "Overtime"}).status, 0);
    handle(exportRequest({{"1", "Zoë Łukasz", "Overtime", "2024-03-05", "PT8H75M"},
                          {"2", "Worker One", "Hourly", "2024-03-04", "PT7H30M"}}));
    const auto run = onFile("list-time");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "2024-03-05\tZoë Łukasz\tPT9H15M0S\tOvertime\n"
              "2024-03-04\tWorker One\tPT7H30M0S\tHourly\n");
    EXPECT_TRUE(run.err.empty());
}

TEST_F(QbsimTest, SetInactiveHidesEmployeesAndWageItemsFromQueries) {
    onFile("add-employee", {"Worker One", "Worker Two"});
    onFile("add-wage-item", {"Hourly"});
    EXPECT_EQ(onFile("set-inactive", {"worker two", "Hourly"}).status, 0);
    const auto elements = testing::responseElements(handle(testing::kProgramQuery));
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_EQ(elements[0].names, std::vector<std::string>{"Worker One"});
    EXPECT_EQ(elements[1].statusCode, "1");
}

TEST_F(QbsimTest, SetMaxVersionMakesTheFileRefuseLaterMessages) {
    onFile("add-employee", {"Worker One"});
    const std::string later = testing::message("<EmployeeQueryRq/>", "<?qbxml version=\"5.0\"?>");
    EXPECT_EQ(onFile("set-max-version", {"4.1"}).status, 0);
    EXPECT_THROW(handle(later), ProcessorError);
    EXPECT_NO_THROW(handle(testing::message("<EmployeeQueryRq/>", "<?qbxml version=\"4.1\"?>")));
    EXPECT_EQ(onFile("set-max-version", {"none"}).status, 0);
    EXPECT_NO_THROW(handle(later));

    // A version the accounting system does not know is a mistake on the command line.
    const auto bad = onFile("set-max-version", {"2.5"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("The version \"2.5\" is not a qbXML version"), std::string::npos)
        << bad.err;
    EXPECT_EQ(onFile("set-max-version").status, 2);
    EXPECT_NO_THROW(handle(later));
}

struct Refusal {
    const char* label;
    std::string command;
    std::vector<std::string> names;
    std::string message;
};

class QbsimRefusals : public QbsimTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(QbsimRefusals, ChangeNothingAndSayWhy) {
    ASSERT_EQ(onFile("add-employee", {"Worker One"}).status, 0);
    ASSERT_EQ(onFile("add-wage-item", {"Hourly"}).status, 0);
    const auto run = onFile(GetParam().command, GetParam().names);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "qbsim: " + GetParam().message + "\n");
    CompanyFile file(path);
    EXPECT_EQ(file.entries(ListKind::Employee).size(), 1u);
    EXPECT_EQ(file.entries(ListKind::WageItem).size(), 1u);
    EXPECT_TRUE(file.entries(ListKind::Employee)[0].active);
    EXPECT_TRUE(file.entries(ListKind::WageItem)[0].active);
}

const std::string k42(42, 'e');
const std::string k32(32, 'w');

INSTANTIATE_TEST_SUITE_P(
    Names, QbsimRefusals,
    ::testing::Values(
        Refusal{"EmployeeTooLong",
                "add-employee",
                {"New Worker", k42},
                "The employee name \"" + k42 + "\" has 42 characters; at most 41 are allowed."},
        Refusal{"WageItemTooLong",
                "add-wage-item",
                {k32},
                "The wage item name \"" + k32 + "\" has 32 characters; at most 31 are allowed."},
        Refusal{"DuplicateInFile",
                "add-employee",
                {"New Worker", "WORKER ONE"},
                "The employee name \"WORKER ONE\" is already in use."},
        Refusal{"DuplicateInCommand",
                "add-wage-item",
                {"Salary", "salary"},
                "The wage item name \"salary\" is already in use."},
        Refusal{"Empty", "add-employee", {""}, "An employee name cannot be empty."},
        Refusal{"ControlCharacter",
                "add-employee",
                {"Tab\there"},
                "The employee name \"Tab\there\" holds a control character."},
        Refusal{"NotUtf8",
                "add-wage-item",
                {"\xFF"},
                "The wage item name \"\xFF\" is not valid UTF-8 text."},
        Refusal{"UnknownName",
                "set-inactive",
                {"Hourly", "Nobody"},
                "No employee or wage item is named \"Nobody\"."}),
    [](const auto& test) { return std::string(test.param.label); });

TEST_F(QbsimTest, AddTimePostsATicketAsKeyedByHandAndPrintsItsTxnId) {
    onFile("add-employee", {"Worker One", "Zoë \"Z\" & Co"});
    onFile("add-wage-item", {"Hourly"});
    auto run = onFile("add-time", {"2024-03-04", "zoë \"z\" & co", "PT7H30M", "hourly"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "1-1700000000\n");
    EXPECT_TRUE(run.err.empty());
    now += 5;
    run = onFile("add-time", {"2024-03-01", "Worker One", "PT8H0M", "Hourly"});
    EXPECT_EQ(run.out, "2-1700000005\n");
    // Deleted tickets are no longer listed.
    handle(
        testing::message("<TxnDelRq><TxnDelType>TimeTracking</TxnDelType><TxnID>1-1700000000"
                         "</TxnID></TxnDelRq>"));
    EXPECT_EQ(onFile("list-time").out, "2024-03-01\tWorker One\tPT8H0M0S\tHourly\n");
}

struct AddTimeRefusal {
    const char* label;
    std::vector<std::string> values;  // DATE EMPLOYEE DURATION ITEM, or fewer or more
    int status;
    std::string firstLine;  // of standard error
};

class AddTimeRefusals : public QbsimTest, public ::testing::WithParamInterface<AddTimeRefusal> {};

TEST_P(AddTimeRefusals, PostNothingAndSayWhy) {
    onFile("add-employee", {"Worker One", "Retired"});
    onFile("add-wage-item", {"Hourly", "Old Rate"});
    onFile("set-inactive", {"Retired", "Old Rate"});
    const auto run = onFile("add-time", GetParam().values);
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), GetParam().firstLine);
    if (GetParam().status == 2) {
        EXPECT_NE(run.err.find("usage: qbsim create FILE\n"), std::string::npos);
        EXPECT_NE(run.err.find("qbsim add-time FILE DATE EMPLOYEE DURATION ITEM\n"),
                  std::string::npos);
    }
    EXPECT_TRUE(posted().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Values, AddTimeRefusals,
    ::testing::Values(
        AddTimeRefusal{"UnknownEmployee",
                       {"2024-03-04", "Nobody", "PT8H", "Hourly"},
                       1,
                       "qbsim: No employee is named \"Nobody\"."},
        AddTimeRefusal{"InactiveEmployee",
                       {"2024-03-04", "Retired", "PT8H", "Hourly"},
                       1,
                       "qbsim: The employee \"Retired\" is inactive."},
        AddTimeRefusal{"UnknownItem",
                       {"2024-03-04", "Worker One", "PT8H", "Salary"},
                       1,
                       "qbsim: No wage item is named \"Salary\"."},
        AddTimeRefusal{"InactiveItem",
                       {"2024-03-04", "Worker One", "PT8H", "Old Rate"},
                       1,
                       "qbsim: The wage item \"Old Rate\" is inactive."},
        AddTimeRefusal{"NoSuchDay",
                       {"2023-02-29", "Worker One", "PT8H", "Hourly"},
                       2,
                       "qbsim: The date \"2023-02-29\" is not a day written yyyy-mm-dd."},
        AddTimeRefusal{"DateWithZone",
                       {"2024-03-04Z", "Worker One", "PT8H", "Hourly"},
                       2,
                       "qbsim: The date \"2024-03-04Z\" is not a day written yyyy-mm-dd."},
        AddTimeRefusal{"Duration",
                       {"2024-03-04", "Worker One", "8:00", "Hourly"},
                       2,
                       "qbsim: The duration \"8:00\" is not an interval such as PT8H0M or "
                       "PT7H30M0S."},
        AddTimeRefusal{
            "ItemMissing", {"2024-03-04", "Worker One", "PT8H"}, 2, "usage: qbsim create FILE"},
        AddTimeRefusal{"OneTooMany",
                       {"2024-03-04", "Worker One", "PT8H", "Hourly", "x"},
                       2,
                       "usage: qbsim create FILE"}),
    [](const auto& test) { return std::string(test.param.label); });

TEST_F(QbsimTest, NameLimitsCountCharactersNotBytes) {
    std::string employee;
    for (int i = 0; i < 41; ++i) {
        employee += "ł";
    }
    std::string wageItem;
    for (int i = 0; i < 31; ++i) {
        wageItem += "山";
    }
    EXPECT_EQ(onFile("add-employee", {employee}).status, 0);
    EXPECT_EQ(onFile("add-wage-item", {wageItem}).status, 0);
}

TEST_F(QbsimTest, RefusesFilesThatAreNotCompanyFilesAndExistingPaths) {
    auto run = onFile("create");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "qbsim: The file \"" + path.string() + "\" already exists.\n");

    sandbox.write("ChronelV7.mde", "Standard Jet DB");
    run = qbsim({"list-time", sandbox.file("ChronelV7.mde").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "qbsim: \"" + sandbox.file("ChronelV7.mde").string() + "\" is not a company file.\n");
    EXPECT_EQ(sandbox.read("ChronelV7.mde"), "Standard Jet DB");

    run = qbsim({"add-employee", sandbox.file("None.qbw").string(), "Worker"});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(std::filesystem::exists(sandbox.file("None.qbw")));
}

#ifndef _WIN32
TEST_F(QbsimTest, TheExecutableRunsTheSameCommands) {
    const auto demo = sandbox.file("Demo Company.qbw");
    const auto output = sandbox.file("out.txt");
    const std::string qbsimPath = QBSIM_EXECUTABLE;
    const auto shell = [&](const std::string& arguments) {
        const int status = std::system(
            ("\"" + qbsimPath + "\" " + arguments + " > \"" + output.string() + "\" 2>&1").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(shell("create \"" + demo.string() + "\""), 0);
    EXPECT_EQ(shell("add-employee \"" + demo.string() + "\" \"Worker One\""), 0);
    EXPECT_EQ(shell("list-time \"" + demo.string() + "\""), 0);
    EXPECT_EQ(sandbox.read("out.txt"), "");
    EXPECT_EQ(CompanyFile(demo).entries(ListKind::Employee).size(), 1u);
    EXPECT_EQ(shell(""), 2);
    EXPECT_EQ(sandbox.read("out.txt").rfind("usage: qbsim", 0), 0u);
}
#endif

}  // namespace
}  // namespace vantrell::standins
