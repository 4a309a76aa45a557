#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "LinkFixture.h"
#include "diag/Utf8.h"
#include "qblink/PostedTicketMatch.h"
#include "qblink/RequestText.h"
#include "qblink/ValueFormat.h"
#include "shell/window/ExportButton.h"
#include "shell/window/IssueList.h"
#include "support/XmlText.h"

namespace vantrell::testing {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kCheckFailed =
    "Could not check which time tickets QuickBooks already holds; see VantrellLog.txt.";

std::string postedRet(const std::string& txnId, const std::string& date, const std::string& name,
                      const std::string& duration, const std::string& item) {
    return "<TimeTrackingRet><TxnID>" + xmlEscaped(txnId) + "</TxnID><TxnDate>" + date +
           "</TxnDate><EntityRef><ListID>80000001-1</ListID><FullName>" + xmlEscaped(name) +
           "</FullName></EntityRef><Duration>" + duration +
           "</Duration><PayrollItemWageRef><FullName>" + xmlEscaped(item) +
           "</FullName></PayrollItemWageRef><IsBillable>false</IsBillable></TimeTrackingRet>\n";
}

std::string checkAnswer(const std::string& records) {
    return qbxmlResponse(
        "<TimeTrackingQueryRs requestID=\"1\" statusCode=\"0\" statusSeverity=\"Info\" "
        "statusMessage=\"Status OK\">\n" +
        records + "</TimeTrackingQueryRs>\n");
}

TEST(DurationMinutes, ReadsTheFormsTheAccountingSystemWrites) {
    const std::vector<std::pair<std::string, std::optional<std::int64_t>>> cases = {
        {"PT8H0M", 480},   {"PT8H0M0S", 480}, {"PT7H30M0S", 450},
        {"PT0H-90M", -90}, {"PT0H0M59S", 0},  {"P1DT2H", 1560},
        {"-PT1H", -60},    {"PT1.5H", 90},    {"", {}},
        {"error", {}},     {"PT", {}},        {"PT8X", {}},
        {"8H", {}},        {"PT1H2", {}},     {"PT99999999999999999H", {}}};
    for (const auto& [text, minutes] : cases) {
        EXPECT_EQ(durationMinutes(text), minutes) << text;
    }
    EXPECT_EQ(hoursText(450), "7.5");
    EXPECT_EQ(hoursText(480), "8");
    EXPECT_EQ(hoursText(20), "0.33");
    EXPECT_EQ(hoursText(-90), "-1.5");
}

stage::StagedTicket staged(std::int32_t sequence, const std::string& name, const char* date,
                           float hours, const std::string& item) {
    return {sequence, name, db::DateTime::parse(date), hours, item, "", name, item};
}

TEST(TicketMatch, PairsOneForOneWithoutLetterCaseAndFindsChangedHours) {
    const std::vector<stage::StagedTicket> stage = {
        staged(1, "Worker One", "2026-03-02", 8.0f, "Hourly"),
        staged(2, "Worker One", "2026-03-02", 8.0f, "Hourly"),    // identical: needs a second
        staged(3, "Worker Two", "2026-03-02", 7.5f, "Hourly"),    // other hours there
        staged(4, "Worker Two", "2026-03-03", 7.5f, "Overtime"),  // not there at all
        staged(5, "Worker Three", "2026-03-02", 7.999f, "Hourly"),
    };
    const std::vector<PostedTimeTicket> posted = {
        {"A", "WORKER ONE", "2026-03-02", "hourly", 480},
        {"B", "Worker Two", "2026-03-02", "Hourly", 420},
        {"C", "Worker Two", "2026-03-03", "Hourly", 450},    // other item: no pair, no change
        {"D", "Worker Three", "2026-03-02", "Hourly", 480},  // the request rounds to 8 hours
    };
    const TicketMatch match = matchPostedTickets(stage, posted);
    EXPECT_EQ(match.alreadyPosted, (std::vector<std::int32_t>{1, 5}));
    ASSERT_EQ(match.changed.size(), 1u);
    EXPECT_EQ(match.changed[0].staged.sequence, 3);
    EXPECT_EQ(match.changed[0].stagedMinutes, 450);
    EXPECT_EQ(match.changed[0].postedMinutes, (std::vector<std::optional<std::int64_t>>{420}));

    // A ticket without a date or with hours that cannot be written is never taken for posted.
    stage::StagedTicket undated = staged(6, "Worker One", "2026-03-02", 8.0f, "Hourly");
    undated.date.reset();
    EXPECT_TRUE(matchPostedTickets({undated}, posted).alreadyPosted.empty());
}

// A posted ticket the journal holds pairs by the time-and-attendance names it was staged from,
// whatever the map has made of them since, and before any staged ticket of its posted name;
// without the journal's names the same tickets do not pair.
TEST(TicketMatch, ARecordedTicketPairsByTheNamesItWasStagedFrom) {
    auto mapped = [](std::int32_t sequence, const std::string& name, const std::string& item,
                     const std::string& chronelName, const std::string& chronelPayType) {
        stage::StagedTicket ticket = staged(sequence, name, "2026-03-02", 8.0f, item);
        ticket.chronelName = chronelName;
        ticket.chronelPayType = chronelPayType;
        return ticket;
    };
    const std::vector<stage::StagedTicket> stage = {
        // Bob Jones was posted as Robert Jones, Regular as Hourly; both now map elsewhere.
        mapped(1, "Bob R Jones", "Overtime", "bob jones", "Regular"),
        // Robert Jones's own ticket: the posted one is Bob's, so this one is not posted yet.
        mapped(2, "Robert Jones", "Hourly", "Robert Jones", "Hourly"),
        // Recorded names, other hours: not that ticket.
        staged(3, "Ann", "2026-03-02", 7.0f, "Hourly"),
    };
    const std::vector<PostedTimeTicket> posted = {
        {"T1", "Robert Jones", "2026-03-02", "Hourly", 480},
        {"T2", "Ann", "2026-03-02", "Hourly", 480},
    };
    const JournalNames journal = {{"T1", {"Bob Jones", "Regular"}}, {"T2", {"Ann", "Hourly"}}};
    TicketMatch match = matchPostedTickets(stage, posted, journal);
    EXPECT_EQ(match.alreadyPosted, (std::vector<std::int32_t>{1}));
    EXPECT_EQ(match.alreadyPostedTxnIds, (std::vector<std::string>{"T1"}));
    ASSERT_EQ(match.changed.size(), 1u);
    EXPECT_EQ(match.changed[0].staged.sequence, 3);

    match = matchPostedTickets(stage, posted);
    EXPECT_EQ(match.alreadyPosted, (std::vector<std::int32_t>{2}));
}

// Many tickets on a few hundred days, several a day, names in either case and durations that do
// not read: the pairing agrees with the rule done the plain way, over every posted ticket.
TEST(TicketMatch, ManyTicketsADayPairAsThePlainRuleDoes) {
    const char* names[] = {"Ann", "ANN", "ann", "Bob", "Cy"};
    const char* dates[] = {"2026-03-02", "2026-03-03"};
    const char* items[] = {"Hourly", "hourly", "OT"};
    std::vector<stage::StagedTicket> stage;
    std::vector<PostedTimeTicket> posted;
    unsigned seed = 7;
    const auto pick = [&](unsigned count) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % count;
    };
    for (int i = 0; i < 3000; ++i) {
        std::string suffix = " ";  // a few letters, so that days share table places too
        for (int letter = 0; letter < 3; ++letter) {
            suffix += static_cast<char>('a' + pick(4));
        }
        stage.push_back(staged(i + 1, names[pick(5)] + suffix, dates[pick(2)],
                               static_cast<float>(pick(4)) * 0.5f, items[pick(3)]));
        const unsigned minutes = pick(5);
        posted.push_back({"T" + std::to_string(i), names[pick(5)] + suffix, dates[pick(2)],
                          items[pick(3)],
                          minutes == 4 ? std::nullopt : std::optional<std::int64_t>(minutes * 30)});
    }
    const auto sameDay = [](const stage::StagedTicket& a, const PostedTimeTicket& b) {
        return asciiLower(a.name) == asciiLower(b.employee) && a.date->dateText() == b.date &&
               asciiLower(a.payType) == asciiLower(b.wageItem);
    };
    std::vector<bool> paired(posted.size());
    std::vector<std::int32_t> alreadyPosted;
    std::vector<std::size_t> unpairedStaged;
    for (std::size_t i = 0; i < stage.size(); ++i) {
        const std::optional<std::int64_t> minutes = hoursToMinutes(stage[i].hours);
        std::size_t t = 0;
        while (t < posted.size() &&
               (paired[t] || !sameDay(stage[i], posted[t]) || posted[t].minutes != minutes)) {
            ++t;
        }
        if (t < posted.size()) {
            paired[t] = true;
            alreadyPosted.push_back(stage[i].sequence);
        } else {
            unpairedStaged.push_back(i);
        }
    }
    std::vector<std::pair<std::int32_t, std::vector<std::optional<std::int64_t>>>> changed;
    for (const std::size_t i : unpairedStaged) {
        std::vector<std::optional<std::int64_t>> left;
        for (std::size_t t = 0; t < posted.size(); ++t) {
            if (!paired[t] && sameDay(stage[i], posted[t])) {
                left.push_back(posted[t].minutes);
            }
        }
        if (!left.empty()) {
            changed.emplace_back(stage[i].sequence, left);
        }
    }

    const TicketMatch match = matchPostedTickets(stage, posted);
    EXPECT_EQ(match.alreadyPosted, alreadyPosted);
    ASSERT_EQ(match.changed.size(), changed.size());
    for (std::size_t k = 0; k < changed.size(); ++k) {
        EXPECT_EQ(match.changed[k].staged.sequence, changed[k].first);
        EXPECT_EQ(match.changed[k].postedMinutes, changed[k].second);
    }
    EXPECT_GT(alreadyPosted.size(), 100u);
    EXPECT_GT(changed.size(), 100u);
}

// Posted days at exact powers of two, where a day table no larger than the number of days
// would be full: a day that is not there must still be found missing. The matching runs on a
// thread of its own with a deadline, so that a lookup that never ends fails the test instead of
// holding the suite (the thread is then left behind with data of its own).
TEST(TicketMatch, ADayNotPostedIsFoundMissingWhateverTheNumberOfPostedDays) {
    for (std::size_t days = 8; days <= 8192; days *= 2) {
        auto posted = std::make_shared<std::vector<PostedTimeTicket>>();
        auto stage = std::make_shared<std::vector<stage::StagedTicket>>();
        for (std::size_t i = 0; i < days; ++i) {
            const std::string name = "Worker " + std::to_string(i);
            posted->push_back({"T" + std::to_string(i), name, "2026-03-02", "Hourly", 480});
            stage->push_back(
                staged(static_cast<std::int32_t>(i + 1), name, "2026-03-02", 8.0f, "Hourly"));
        }
        stage->push_back(
            staged(static_cast<std::int32_t>(days + 1), "Nobody", "2026-03-02", 8.0f, "Hourly"));
        auto result = std::make_shared<std::promise<TicketMatch>>();
        std::future<TicketMatch> matched = result->get_future();
        std::thread worker(
            [posted, stage, result] { result->set_value(matchPostedTickets(*stage, *posted)); });
        const bool ended = matched.wait_for(std::chrono::seconds(60)) == std::future_status::ready;
        // A thread that ended is joined before the next starts: under Wine a thread started while
        // another was still ending has been seen to stall.
        if (ended) {
            worker.join();
        } else {
            worker.detach();
        }
        ASSERT_TRUE(ended) << "the lookup did not end with " << days << " posted days";
        const TicketMatch match = matched.get();
        EXPECT_EQ(match.alreadyPosted.size(), days);
        EXPECT_TRUE(match.changed.empty());
    }
}

class PostedCheck : public LinkFixture {
  protected:
    PostedCheck() {
        stagePunch(1, "Worker One", "2026-03-02", 8.0f, "Hourly");
        stagePunch(2, "Worker Two", "2026-03-04", 7.5f, "Hourly");
    }
};

TEST_F(PostedCheck, AsksForTheStagedDatesInItsOwnMessageAndLeavesTheWindowTracesAlone) {
    link.requestXML = "earlier request";
    link.responseXML = "earlier response";
    qb.postedTicketsAnswer =
        checkAnswer(postedRet("1-1", "2026-03-02", "Worker One", "PT8H0M0S", "Hourly"));
    qb.postedTicketsAnswer.insert(qb.postedTicketsAnswer.find(" statusCode"),
                                  " iteratorRemainingCount=\"0\" iteratorID=\"{it}\"");
    link.CheckPostedTickets();

    ASSERT_EQ(qb.checkRequests.size(), 1u);
    EXPECT_EQ(qb.checkRequests[0], postedTicketPageRequest("2026-03-02", "2026-03-04",
                                                           QuickBooksLink::kCheckPageSize, ""));
    EXPECT_EQ(link.requestXML, "earlier request");
    EXPECT_EQ(link.responseXML, "earlier response");
    EXPECT_EQ(t.sandbox.read("CheckReq.txt"), "\"" + qb.checkRequests[0] + "\"\r\n");
    EXPECT_EQ(t.sandbox.read("CheckResp.txt"), "\"" + qb.postedTicketsAnswer + "\"\r\n");
    EXPECT_TRUE(link.postedCheck().made);
    EXPECT_EQ(link.postedCheck().alreadyPosted, 1);
    EXPECT_EQ(punchRows(), Strings{"2|<null>"});

    ShowIssues(t.log, link, controls);
    EXPECT_EQ(controls.lines,
              (Strings{"Click Export to post your time tickets in QuickBooks.", "",
                       "1 time ticket is already in QuickBooks and will not be posted again."}));
    EXPECT_TRUE(controls.enabled[WindowButton::Export]);
    EXPECT_EQ(logText(), "");
}

TEST_F(PostedCheck, AnAnswerThatCannotBeTrustedTouchesNothingAndBlocksTheExport) {
    std::string deep;
    for (int i = 0; i < 100000; ++i) {
        deep += "<a>";
    }
    const Strings answers = {
        "",
        "not xml",
        "<QBXML><QBXMLMsgsRs><TimeTrackingQueryRs statusCode=\"0\">",
        qbxmlResponse("<EmployeeQueryRs requestID=\"1\" statusCode=\"0\"/>"),
        qbxmlResponse("<TimeTrackingQueryRs requestID=\"1\" statusCode=\"3100\" "
                      "statusSeverity=\"Error\" statusMessage=\"' or 1=1; --\"/>"),
        qbxmlResponse("<TimeTrackingQueryRs requestID=\"1\" statusCode=\" 0\"/>"),
        "<QBXML>" + deep,
    };
    for (const std::string& answer : answers) {
        qb.postedTicketsAnswer = answer;
        link.CheckPostedTickets();
        EXPECT_FALSE(link.postedCheck().made) << answer.substr(0, 80);
        EXPECT_EQ(punchRows(), (Strings{"1|<null>", "2|<null>"}));
        ShowIssues(t.log, link, controls);
        EXPECT_EQ(controls.lines,
                  (Strings{kCheckFailed, "", "There are 1 issues requiring resolution."}));
        EXPECT_FALSE(controls.enabled[WindowButton::Export]);
    }
    // The processor failing is the same.
    qb.postedTicketsAnswer.clear();
    link.CheckPostedTickets();
    EXPECT_FALSE(link.postedCheck().made);
    EXPECT_NE(logText().find("CheckPostedTickets The request processor could not be reached."),
              std::string::npos);
}

// Check answers of which a part cannot be read or is missing: the check fails whole and
// nothing leaves the stage, rather than every ticket going again as if nothing were posted.
TEST_F(PostedCheck, AnAnswerTrustedOnlyInPartFailsTheWholeCheck) {
    const std::string ret = postedRet("1-1", "2026-03-02", "Worker One", "PT8H0M0S", "Hourly");
    const auto without = [&](const std::string& part) {
        std::string record = ret;
        record.erase(record.find(part), part.size());
        return checkAnswer(record);
    };
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string record = ret;
        record.replace(record.find(from), from.size(), to);
        return checkAnswer(record);
    };
    const auto withAttributes = [&](const std::string& attributes) {
        std::string answer = checkAnswer(ret);
        answer.insert(answer.find(" statusMessage"), " " + attributes);
        return answer;
    };
    // Without its declaration.
    const std::string body =
        checkAnswer(ret + postedRet("2-2", "2026-03-05", "Zo\xC3\xAB", "PT1H0M0S", "Hourly"))
            .substr(22);
    const Strings answers = {
        qbxmlResponse("<TimeTrackingQueryRs requestID=\"1\" statusCode=\"1\" "
                      "statusSeverity=\"Info\" statusMessage=\"A query request did not find a "
                      "matching object in QuickBooks\">" +
                      ret + "</TimeTrackingQueryRs>"),
        without("<TxnID>1-1</TxnID>"),
        without("<TxnDate>2026-03-02</TxnDate>"),
        without("<FullName>Worker One</FullName>"),
        without("<FullName>Hourly</FullName>"),
        without("<Duration>PT8H0M0S</Duration>"),
        replaced("2026-03-02", "03/02/2026"),
        replaced("2026-03-02", "2026-3-2"),
        replaced("2026-03-02", "2026-02-30"),
        replaced("2026-03-02", "2026-03-02T00:00:00"),
        replaced("PT8H0M0S", "8 hours"),
        withAttributes("iteratorRemainingCount=\"3\" iteratorID=\"{x}\""),
        withAttributes("retCount=\"2\""),
        withAttributes("retCount=\"-1\""),
        "<!DOCTYPE QBXML [<!ENTITY w \"Worker One\">]>" +
            checkAnswer(postedRet("1-1", "2026-03-02", "&w;", "PT8H0M0S", "Hourly")),
        "<!DOCTYPE QBXML><?xml version=\"1.0\" ?>" + body,
        checkAnswer(ret) + "x",
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>" + body,
    };
    // Read as a page of the iterator, then as the whole answer of an accounting system that
    // does not take the iterator's version: the same doubts fail both.
    for (const bool whole : {false, true}) {
        qb.refusesPages = whole;
        for (std::string answer : answers) {
            // The one record is Worker One's staged ticket, wherever it could be read.
            const std::size_t entity = answer.find("&amp;w;");
            if (entity != std::string::npos) {
                answer.replace(entity, 7, "&w;");
            }
            qb.postedTicketsAnswer = answer;
            link.CheckPostedTickets();
            EXPECT_FALSE(link.postedCheck().made) << answer;
            EXPECT_EQ(punchRows(), (Strings{"1|<null>", "2|<null>"})) << answer;
            ShowIssues(t.log, link, controls);
            EXPECT_EQ(controls.lines.front(), kCheckFailed) << answer;
            EXPECT_FALSE(controls.enabled[WindowButton::Export]) << answer;
        }
    }
    // What a whole answer may hold: a byte order mark, the encoding named, the counts right.
    qb.postedTicketsAnswer =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\" ?>" +
        withAttributes("retCount=\"1\" iteratorRemainingCount=\"0\"").substr(22);
    link.CheckPostedTickets();
    EXPECT_TRUE(link.postedCheck().made) << logText();
    EXPECT_EQ(link.postedCheck().alreadyPosted, 1);
    EXPECT_EQ(punchRows(), Strings{"2|<null>"});
}

TEST_F(PostedCheck, TimeThatIsNotPayrollIsNoneOfTheProgramsAndPairsWithNothing) {
    // A customer's time on Worker Two's day, keyed without a wage item, beside Worker One's
    // posted ticket: only the latter pairs, and the answer is whole all the same.
    std::string customerTime = postedRet("9-9", "2026-03-04", "Worker Two", "PT7H30M0S", "Hourly");
    const std::string wageItem =
        "<PayrollItemWageRef><FullName>Hourly</FullName></PayrollItemWageRef>";
    customerTime.erase(customerTime.find(wageItem), wageItem.size());
    std::string answer = checkAnswer(
        postedRet("1-1", "2026-03-02", "Worker One", "PT8H0M0S", "Hourly") + customerTime);
    answer.insert(answer.find(" statusMessage"), " retCount=\"2\"");
    qb.postedTicketsAnswer = answer;
    link.CheckPostedTickets();
    EXPECT_TRUE(link.postedCheck().made) << logText();
    EXPECT_EQ(link.postedCheck().alreadyPosted, 1);
    EXPECT_EQ(punchRows(), Strings{"2|<null>"});
}

TEST_F(PostedCheck, HostileNamesInTheAnswerReachOnlyTheirOwnTicket) {
    stagePunch(3, "O'Brien & <Sons>", "2026-03-03", 4.0f, "Hourly'; delete from Punch; --");
    std::string records;
    for (int i = 0; i < 20000; ++i) {
        records += postedRet(std::to_string(i), "2026-03-03", "Someone " + std::to_string(i),
                             "PT1H0M0S", "Hourly");
    }
    records += postedRet("x", "2026-03-03", "o'brien & <sons>", "PT4H0M0S",
                         "HOURLY'; DELETE FROM PUNCH; --");
    records += postedRet("y", "2026-03-02", "Worker One", "PT7H0M0S", "Hourly");
    qb.postedTicketsAnswer = checkAnswer(records);
    link.CheckPostedTickets();

    ASSERT_TRUE(link.postedCheck().made) << logText();
    EXPECT_EQ(link.postedCheck().alreadyPosted, 1);
    EXPECT_EQ(punchRows(), (Strings{"1|<null>", "2|<null>"}));
    ShowIssues(t.log, link, controls);
    EXPECT_EQ(controls.lines,
              (Strings{"Ticket changed in QuickBooks: Worker One on 2026-03-02, Hourly: 8 hours "
                       "staged, 7 hours in QuickBooks",
                       "", "There are 1 issues requiring resolution.", "",
                       "1 time ticket is already in QuickBooks and will not be posted again."}));
    EXPECT_FALSE(controls.enabled[WindowButton::Export]);
}

// An export whose message went out but whose answer never came: pressing Export again first
// asks what the accounting system took, and sends only the rest.
TEST_F(PostedCheck, ASecondPressAfterAnUnansweredExportChecksBeforeSendingAgain) {
    link.CheckPostedTickets();
    qb.failures["ProcessRequest"] = "The connection was lost.";
    cmdExport_Click(t.log, link, controls);
    ASSERT_EQ(qb.requests.size(), 1u);
    EXPECT_EQ(punchRows(), (Strings{"1|<null>", "2|<null>"}));

    qb.failures.clear();
    qb.postedTicketsAnswer =
        checkAnswer(postedRet("1-1", "2026-03-02", "Worker One", "PT8H0M0S", "Hourly"));
    qb.responses.push_back(qbxmlResponse(
        "<TimeTrackingAddRs requestID=\"2\" statusCode=\"0\" statusSeverity=\"Info\" "
        "statusMessage=\"Status OK\"><TimeTrackingRet><TxnID>2-2</TxnID></TimeTrackingRet>"
        "</TimeTrackingAddRs>"));
    cmdExport_Click(t.log, link, controls);
    // The activation's check, then one right before each message.
    ASSERT_EQ(qb.checkRequests.size(), 3u);
    ASSERT_EQ(qb.requests.size(), 2u);
    EXPECT_EQ(qb.requests[1].find("Worker One"), std::string::npos) << qb.requests[1];
    EXPECT_NE(qb.requests[1].find("Worker Two"), std::string::npos);
    EXPECT_EQ(punchRows(), Strings{});
    // The first export's tickets were recorded as sent; the check confirmed the one it found
    // with the id it read, and recorded the other as not posted.
    EXPECT_EQ(rows("select ExportID, Sequence, TxnID, Undone, State from ExportTicket"
                   " order by ExportID, Sequence",
                   {"ExportID", "Sequence", "TxnID", "Undone", "State"}),
              (Strings{"1|1|1-1|False|confirmed", "1|2|<null>|False|notposted",
                       "2|2|2-2|False|confirmed"}));

    // When that check cannot be made, nothing is sent and the list says why.
    stagePunch(3, "Worker One", "2026-03-05", 8.0f, "Hourly");
    qb.failures["ProcessRequest"] = "The connection was lost.";
    cmdExport_Click(t.log, link, controls);
    qb.failures.clear();
    qb.postedTicketsAnswer.clear();
    cmdExport_Click(t.log, link, controls);
    EXPECT_EQ(qb.requests.size(), 3u);
    EXPECT_EQ(controls.lines.front(), kCheckFailed);
    EXPECT_FALSE(controls.enabled[WindowButton::Export]);
    EXPECT_EQ(punchRows(), Strings{"3|<null>"});
}

}  // namespace
}  // namespace vantrell::testing
