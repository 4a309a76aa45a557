#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "LinkFixture.h"
#include "diag/Failure.h"
#include "qblink/RequestText.h"
#include "shell/window/ExportButton.h"
#include "shell/window/IssueList.h"

namespace vantrell::testing {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kCheckFailed =
    "Could not check which time tickets QuickBooks already holds; see VantrellLog.txt.";

std::string record(const std::string& txnId, const std::string& date, const std::string& name,
                   const std::string& duration) {
    return "<TimeTrackingRet><TxnID>" + txnId + "</TxnID><TxnDate>" + date +
           "</TxnDate><EntityRef><FullName>" + name + "</FullName></EntityRef><Duration>" +
           duration +
           "</Duration><PayrollItemWageRef><FullName>Hourly</FullName></PayrollItemWageRef>"
           "</TimeTrackingRet>";
}

// The value of `<element>` in `request`, or "".
std::string valueIn(const std::string& request, const std::string& element) {
    const std::size_t begin = request.find("<" + element + ">");
    if (begin == std::string::npos) {
        return {};
    }
    const std::size_t from = begin + element.size() + 2;
    return request.substr(from, request.find('<', from) - from);
}

// An accounting system's iterators over `records`, pages of the request's MaxReturned; each
// Start begins a new iterator ("{it-1}", "{it-2}", ...). `fault`, when set, answers a page
// instead (its number counted over all iterators, from 1) when it gives a text.
struct Pager {
    std::vector<std::string> records;
    std::function<std::string(int page, const std::string& iteratorId)> fault;
    int pages = 0;
    int started = 0;
    std::size_t next = 0;
    Strings stopped;

    // Serves the same records anew, with `pageFault` in place of `fault`.
    void restart(std::function<std::string(int, const std::string&)> pageFault) {
        fault = std::move(pageFault);
        pages = 0;
        started = 0;
        next = 0;
        stopped.clear();
    }

    std::string answer(const std::string& request) {
        if (request.find("iterator=\"Stop\"") != std::string::npos) {
            const std::size_t id = request.find("iteratorID=\"") + 12;
            stopped.push_back(request.substr(id, request.find('"', id) - id));
            return qbxmlResponse(
                "<TimeTrackingQueryRs requestID=\"1\" statusCode=\"0\" statusSeverity=\"Info\" "
                "statusMessage=\"Status OK\"/>");
        }
        if (request.find("iterator=\"Start\"") != std::string::npos) {
            ++started;
            next = 0;
        }
        const std::string id = "{it-" + std::to_string(started) + "}";
        ++pages;
        if (fault) {
            if (std::string text = fault(pages, id); !text.empty()) {
                return text;
            }
        }
        const std::size_t size = std::stoul(valueIn(request, "MaxReturned"));
        std::string page;
        std::size_t end = std::min(records.size(), next + size);
        for (; next < end; ++next) {
            page += records[next];
        }
        return qbxmlResponse(
            "<TimeTrackingQueryRs requestID=\"1\" statusCode=\"0\" "
            "statusSeverity=\"Info\" statusMessage=\"Status OK\" "
            "iteratorRemainingCount=\"" +
            std::to_string(records.size() - next) + "\" iteratorID=\"" + id + "\">" + page +
            "</TimeTrackingQueryRs>");
    }
};

std::string statusPage(const std::string& code) {
    return qbxmlResponse("<TimeTrackingQueryRs requestID=\"1\" statusCode=\"" + code +
                         "\" statusSeverity=\"Error\" statusMessage=\"The iteratorID is not "
                         "valid.\"/>");
}

struct PagedCheck : LinkFixture {
    PagedCheck() {
        stagePunch(1, "Worker One", "2026-03-02", 8.0f, "Hourly");
        stagePunch(2, "Worker Two", "2026-03-03", 7.5f, "Hourly");
        stagePunch(3, "Worker Three", "2026-03-04", 4.0f, "Hourly");
        // Ten times as many of other employees' tickets in the range as staged ones, with the
        // staged ones posted among them.
        for (int i = 0; i < 30; ++i) {
            pager.records.push_back(record("o-" + std::to_string(i),
                                           "2026-03-0" + std::to_string(2 + i % 3),
                                           "Other " + std::to_string(i), "PT8H0M0S"));
            if (i == 4) {
                pager.records.push_back(record("1-1", "2026-03-02", "Worker One", "PT8H0M0S"));
            }
            if (i == 17) {
                pager.records.push_back(record("2-2", "2026-03-03", "Worker Two", "PT7H30M0S"));
            }
        }
        pager.records.push_back(record("3-3", "2026-03-04", "Worker Three", "PT5H0M0S"));
        qb.pageAnswer = [this](const std::string& request) { return pager.answer(request); };
        link.checkPageSize = 4;
    }

    // The check has settled nothing and blocks the export.
    void expectFailedWhole() {
        EXPECT_FALSE(link.postedCheck().made);
        EXPECT_EQ(punchRows(), (Strings{"1|<null>", "2|<null>", "3|<null>"}));
        EXPECT_EQ(rows("select count(*) as N from ExportTicket", {"N"}), Strings{"0"});
        ShowIssues(t.log, link, controls);
        EXPECT_EQ(controls.lines.front(), kCheckFailed);
        EXPECT_FALSE(controls.enabled[WindowButton::Export]);
    }

    Pager pager;
};

TEST_F(PagedCheck, PairsAcrossManyPagesAsTheWholeAnswerDoes) {
    link.CheckPostedTickets();
    ASSERT_TRUE(link.postedCheck().made) << logText();
    // 33 records, 4 a page.
    EXPECT_EQ(pager.pages, 9);
    EXPECT_EQ(link.postedCheck().alreadyPosted, 2);
    EXPECT_EQ(punchRows(), Strings{"3|<null>"});
    EXPECT_EQ(link.postedCheck().issueLines,
              Strings{"Ticket changed in QuickBooks: Worker Three on 2026-03-04, Hourly: 4 hours "
                      "staged, 5 hours in QuickBooks"});
    EXPECT_EQ(qb.checkRequests.front(), postedTicketPageRequest("2026-03-02", "2026-03-04", 4, ""));
    EXPECT_EQ(qb.checkRequests.back(),
              postedTicketPageRequest("2026-03-02", "2026-03-04", 4, "{it-1}"));
    EXPECT_TRUE(pager.stopped.empty());
    // The traces keep the last page; the log counts the pages.
    EXPECT_EQ(t.sandbox.read("CheckReq.txt"), "\"" + qb.checkRequests.back() + "\"\r\n");
    EXPECT_NE(t.sandbox.read("CheckResp.txt").find("<TxnID>3-3</TxnID>"), std::string::npos);
    EXPECT_NE(logText().find("Read 33 posted time tickets in 9 pages of qbXML 5.0."),
              std::string::npos)
        << logText();
    // A count for the log's reader is no box for the clerk to dismiss at every activation.
    EXPECT_TRUE(t.prompter.shown.empty());
}

TEST_F(PagedCheck, APageThatFailsMidWaySettlesNothingAndStopsTheIterator) {
    const std::vector<std::function<std::string()>> faults = {
        [] { return statusPage("500"); },
        [] { return std::string("<QBXML>"); },
        [] {
            return qbxmlResponse(
                "<TimeTrackingQueryRs requestID=\"1\" statusCode=\"0\" statusSeverity=\"Info\" "
                "statusMessage=\"Status OK\" iteratorRemainingCount=\"25\" iteratorID=\"{it-1}\" "
                "retCount=\"4\">" +
                record("x", "2026-03-02", "Worker One", "PT8H0M0S") + "</TimeTrackingQueryRs>");
        },
        // A page that brings nothing while tickets are said to be left.
        [] {
            return qbxmlResponse(
                "<TimeTrackingQueryRs requestID=\"1\" statusCode=\"0\" statusSeverity=\"Info\" "
                "statusMessage=\"Status OK\" iteratorRemainingCount=\"25\" "
                "iteratorID=\"{it-1}\"/>");
        },
        [] {
            throw Failure("The connection was lost.");
            return std::string();
        },
    };
    for (std::size_t k = 0; k < faults.size(); ++k) {
        pager.restart(
            [&](int page, const std::string&) { return page == 3 ? faults[k]() : std::string(); });
        link.CheckPostedTickets();
        SCOPED_TRACE(k);
        expectFailedWhole();
        EXPECT_EQ(pager.stopped, Strings{"{it-1}"});
        EXPECT_NE(logText().find("CheckPostedTickets"), std::string::npos);
    }
}

TEST_F(PagedCheck, AnExpiredIteratorIsBegunAnewOnceThenTheCheckFails) {
    pager.fault = [](int page, const std::string& id) {
        return page == 3 && id == "{it-1}" ? statusPage("3391") : std::string();
    };
    link.CheckPostedTickets();
    ASSERT_TRUE(link.postedCheck().made) << logText();
    EXPECT_EQ(pager.started, 2);
    EXPECT_EQ(link.postedCheck().alreadyPosted, 2);
    EXPECT_EQ(punchRows(), Strings{"3|<null>"});
    EXPECT_NE(logText().find("it is begun anew"), std::string::npos) << logText();

    stagePunch(4, "Worker One", "2026-03-02", 8.0f, "Hourly");
    link.beginActivation();
    pager.restart([](int page, const std::string&) {
        return page % 3 == 0 ? statusPage("3391") : std::string();
    });
    link.CheckPostedTickets();
    EXPECT_EQ(pager.started, 2);
    EXPECT_FALSE(link.postedCheck().made);
    EXPECT_EQ(punchRows(), (Strings{"3|<null>", "4|<null>"}));
    EXPECT_TRUE(pager.stopped.empty());
}

TEST_F(PagedCheck, AnAccountingSystemWithoutTheIteratorsVersionIsAskedWholeForTheSession) {
    qb.refusesPages = true;
    qb.postedTicketsAnswer = qbxmlResponse(
        "<TimeTrackingQueryRs requestID=\"1\" statusCode=\"0\" statusSeverity=\"Info\" "
        "statusMessage=\"Status OK\">" +
        record("1-1", "2026-03-02", "Worker One", "PT8H0M0S") + "</TimeTrackingQueryRs>");
    ASSERT_TRUE(link.OpenQBConnection());
    link.CheckPostedTickets();
    ASSERT_TRUE(link.postedCheck().made) << logText();
    EXPECT_EQ(link.postedCheck().alreadyPosted, 1);
    ASSERT_EQ(qb.checkRequests.size(), 2u);
    EXPECT_EQ(qb.checkRequests[1], postedTicketQueryRequest("2026-03-02", "2026-03-04"));
    EXPECT_NE(logText().find("QuickBooks does not take qbXML 5.0: the posted time tickets are "
                             "asked for in one answer of qbXML 2.0."),
              std::string::npos)
        << logText();
    // Not asked again in the session; a new session tries the iterator first again.
    link.CheckPostedTickets();
    EXPECT_EQ(qb.checkRequests.size(), 3u);
    link.CloseQBConnection();
    ASSERT_TRUE(link.OpenQBConnection());
    qb.refusesPages = false;
    link.CheckPostedTickets();
    ASSERT_GT(qb.checkRequests.size(), 3u);
    EXPECT_NE(qb.checkRequests[3].find("iterator=\"Start\""), std::string::npos);
}

}  // namespace
}  // namespace vantrell::testing
