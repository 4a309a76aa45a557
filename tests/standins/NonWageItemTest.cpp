#include <gtest/gtest.h>

#include <sqlite3.h>

#include <sstream>
#include <string>
#include <vector>

#include "CompanyFixture.h"
#include "qblink/RequestText.h"
#include "standins/ProcessorError.h"
#include "standins/QbsimCommand.h"

namespace vantrell::standins {
namespace {

using testing::CompanyFixture;
using testing::message;
using testing::responseElements;
using Strings = std::vector<std::string>;

// A company file with employees and payroll items of both kinds, some of them inactive.
class NonWageItems : public CompanyFixture {
  protected:
    void SetUp() override {
        CompanyFixture::SetUp();
        addEmployees({"Worker One", "Old Hand"});
        addWageItems({"Hourly", "Old Rate"});
        addNonWageItems({"Bonus", "Ann & <Bob> \"Q\"", "Zoë Łukasz 山田", "Retired Bonus"});
        setInactive({"Old Hand", "Old Rate", "Retired Bonus"});
    }
};

struct QueryCase {
    const char* what;
    std::string body;
    std::string statusCode;
    Strings names;
};

class NonWageQueries : public NonWageItems, public ::testing::WithParamInterface<QueryCase> {};

TEST_P(NonWageQueries, AnswerAsTheOtherListQueriesDo) {
    const QueryCase& c = GetParam();
    const auto elements = responseElements(handle(message(c.body)));
    ASSERT_EQ(elements.size(), 1u) << c.what;
    EXPECT_EQ(elements[0].name, "PayrollItemNonWageQueryRs") << c.what;
    EXPECT_EQ(elements[0].statusCode, c.statusCode) << c.what;
    EXPECT_EQ(elements[0].names, c.names) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Filters, NonWageQueries,
    ::testing::Values(
        QueryCase{"active only by default",
                  "<PayrollItemNonWageQueryRq/>",
                  "0",
                  {"Ann & <Bob> \"Q\"", "Bonus", "Zoë Łukasz 山田"}},
        QueryCase{"all",
                  "<PayrollItemNonWageQueryRq><ActiveStatus>All</ActiveStatus>"
                  "</PayrollItemNonWageQueryRq>",
                  "0",
                  {"Ann & <Bob> \"Q\"", "Bonus", "Retired Bonus", "Zoë Łukasz 山田"}},
        QueryCase{"inactive only",
                  "<PayrollItemNonWageQueryRq><ActiveStatus>InactiveOnly"
                  "</ActiveStatus></PayrollItemNonWageQueryRq>",
                  "0",
                  {"Retired Bonus"}},
        QueryCase{"by name, letter case aside, one not found",
                  "<PayrollItemNonWageQueryRq><FullName>bonus</FullName><FullName>Hourly"
                  "</FullName></PayrollItemNonWageQueryRq>",
                  "500",
                  {"Bonus"}},
        QueryCase{"name filter",
                  "<PayrollItemNonWageQueryRq><NameFilter><MatchCriterion>"
                  "Contains</MatchCriterion><Name>&amp; &lt;bob</Name></NameFilter>"
                  "</PayrollItemNonWageQueryRq>",
                  "0",
                  {"Ann & <Bob> \"Q\""}},
        QueryCase{"nothing found",
                  "<PayrollItemNonWageQueryRq><NameFilter><MatchCriterion>StartsWith"
                  "</MatchCriterion><Name>Hourly</Name></NameFilter></PayrollItemNonWageQueryRq>",
                  "1",
                  {}},
        QueryCase{"unknown ListID",
                  "<PayrollItemNonWageQueryRq><ListID>1-1</ListID>"
                  "</PayrollItemNonWageQueryRq>",
                  "3120",
                  {}}));

TEST_F(NonWageItems, TheWageItemQueryStillReturnsWageItemsOnly) {
    const auto elements = responseElements(handle(
        message("<PayrollItemWageQueryRq><ActiveStatus>All</ActiveStatus></PayrollItemWageQueryRq>"
                "<EmployeeQueryRq><ActiveStatus>All</ActiveStatus></EmployeeQueryRq>")));
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_EQ(elements[0].names, (Strings{"Hourly", "Old Rate"}));
    EXPECT_EQ(elements[1].names, (Strings{"Old Hand", "Worker One"}));
}

TEST_F(NonWageItems, TheQueryIsNoRequestOfTheVersionsBeforeFive) {
    for (const char* prolog : {"<?qbxml version=\"2.0\"?>", "<?qbxml version=\"4.1\"?>"}) {
        try {
            handle(message("<PayrollItemNonWageQueryRq/>", prolog));
            ADD_FAILURE() << prolog << " was answered";
        } catch (const ProcessorError& error) {
            EXPECT_EQ(error.code(), ProcessorCode::ParseError) << prolog;
        }
    }
    EXPECT_EQ(responseElements(
                  handle(message("<PayrollItemNonWageQueryRq/>", "<?qbxml version=\"5.0\"?>")))[0]
                  .statusCode,
              "0");
}

TEST_F(NonWageItems, TheHintQueryIsAnsweredWholeWithEveryStatus) {
    const auto elements = responseElements(handle(nameHintQueryRequest()));
    ASSERT_EQ(elements.size(), 3u);
    EXPECT_EQ(elements[0].name, "EmployeeQueryRs");
    EXPECT_EQ(elements[0].requestId, "1");
    EXPECT_EQ(elements[0].names, (Strings{"Old Hand", "Worker One"}));
    EXPECT_EQ(elements[1].names, (Strings{"Hourly", "Old Rate"}));
    EXPECT_EQ(elements[2].requestId, "3");
    EXPECT_EQ(elements[2].names,
              (Strings{"Ann & <Bob> \"Q\"", "Bonus", "Retired Bonus", "Zoë Łukasz 山田"}));
    const std::string response = handle(nameHintQueryRequest());
    EXPECT_NE(response.find("<Name>Retired Bonus</Name>\n<IsActive>false</IsActive>\n"
                            "<NonWageType>Addition</NonWageType>"),
              std::string::npos)
        << response;
    EXPECT_NE(response.find("<Name>Ann &amp; &lt;Bob&gt; \"Q\"</Name>"), std::string::npos)
        << response;
}

TEST_F(NonWageItems, PayrollItemsOfBothKindsShareTheirNames) {
    for (const auto& [kind, name] : std::vector<std::pair<ListKind, std::string>>{
             {ListKind::WageItem, "BONUS"},
             {ListKind::NonWageItem, "hourly"},
             {ListKind::NonWageItem, std::string(32, 'n')},
             {ListKind::NonWageItem, ""}}) {
        try {
            CompanyFile(path).addNames(kind, {name}, now);
            ADD_FAILURE() << name << " was added";
        } catch (const CompanyFileError& error) {
            EXPECT_EQ(error.reason(), CompanyFileError::Reason::NameRefused) << error.what();
        }
    }
    // An employee may bear a payroll item's name.
    addEmployees({"Bonus"});
}

TEST_F(NonWageItems, AFileWrittenBeforeThemIsReadAndGivenTheirList) {
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.string().c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, "drop table nonwage_item", nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    {
        CompanyFile file(path);
        EXPECT_TRUE(file.entries(ListKind::NonWageItem).empty());
        EXPECT_EQ(file.entries(ListKind::WageItem).size(), 2u);
    }
    const auto elements = responseElements(handle(nameHintQueryRequest()));
    ASSERT_EQ(elements.size(), 3u);
    EXPECT_EQ(elements[2].statusCode, "1");
    addNonWageItems({"Bonus"});
    EXPECT_EQ(CompanyFile(path).entries(ListKind::NonWageItem).size(), 1u);
}

TEST_F(NonWageItems, QbsimAddsThemAndMakesThemInactive) {
    const auto run = [&](const Strings& args) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = runQbsim(args, out, err, clock);
        return std::make_pair(status, out.str() + err.str());
    };
    EXPECT_EQ(run({"add-nonwage-item", path.string(), "Tips", "Mileage"}).first, 0);
    EXPECT_EQ(run({"set-inactive", path.string(), "Tips"}).first, 0);
    const auto refused = run({"add-nonwage-item", path.string(), "Hourly"});
    EXPECT_EQ(refused.first, 1);
    EXPECT_NE(refused.second.find("\"Hourly\" is already in use"), std::string::npos)
        << refused.second;
    EXPECT_EQ(run({"add-nonwage-item", path.string()}).first, 2);
    EXPECT_NE(run({"--help"}).second.find("qbsim add-nonwage-item FILE NAME..."),
              std::string::npos);

    std::vector<std::pair<std::string, bool>> items;
    for (const auto& record : CompanyFile(path).entries(ListKind::NonWageItem)) {
        items.emplace_back(record.name, record.active);
    }
    EXPECT_EQ(items.size(), 6u);
    EXPECT_NE(std::find(items.begin(), items.end(), std::make_pair(std::string("Tips"), false)),
              items.end());
    EXPECT_NE(std::find(items.begin(), items.end(), std::make_pair(std::string("Mileage"), true)),
              items.end());
    // list-time is as it was: the tickets alone.
    EXPECT_EQ(run({"list-time", path.string()}), std::make_pair(0, std::string()));
}

}  // namespace
}  // namespace vantrell::standins
