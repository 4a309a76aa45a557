#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "interfacedb/Connection.h"
#include "interfacedb/ConnectionString.h"
#include "shell/CliFixture.h"

namespace vantrell::testing {

constexpr const char* kInvitation = "Click Export to post your time tickets in QuickBooks.";

// Whatever is clicked and run again, the company file holds each ticket once: one employee
// with one worked day to start with (Worker One, 2026-03-02, 8 hours Hourly), days added by
// each test, and a company file that knows every name.
// The name of a run of the tests below: how the check asks.
inline std::string checkWayName(const ::testing::TestParamInfo<bool>& run) {
    return run.param ? "WholeAnswerOf2_0" : "Pages";
}

// Run twice: against an accounting system that answers the check in pages, and against one
// that takes no qbXML version past 2.0 and is asked for the whole answer.
struct ExactlyOnce : CliFixture, ::testing::WithParamInterface<bool> {
    using Lines = std::vector<std::string>;

    void SetUp() override {
        writeSmallData({"Worker One", "Worker Two"});
        if (GetParam()) {
            qbsim({"set-max-version", company, "2.0"});
        }
    }

    void addDay(const std::string& name, const std::string& date, double regular,
                double overtime = 0) {
        runOnChronel("insert into REPORTDATA values ('" + name + "', '" + date + "', " +
                     std::to_string(regular) + ", " + std::to_string(overtime) + ", 0, NULL, 0)");
    }

    // Runs one statement on the program's Vantrell.mdb.
    void runOnJournal(const std::string& sql) {
        db::Connection cn;
        cn.open(db::connectionStringFor(data + "/Vantrell.mdb"));
        cn.execute(sql);
    }

    // Fails the test when the company file holds any ticket twice.
    void expectEachTicketOnce() {
        const Lines posted = postedTickets();
        const std::set<std::string> distinct(posted.begin(), posted.end());
        EXPECT_EQ(distinct.size(), posted.size()) << qbsim({"list-time", company});
    }

    std::vector<std::string> exportsListed() {
        const CliRun run = cli({"--data-dir", data, "--list-exports"});
        EXPECT_EQ(run.status, 0) << run.err;
        Lines lines = linesOf(run.out);
        // The finish time is the clock's, the company file the sandbox's ("C"); the rest is
        // exact.
        for (std::string& line : lines) {
            const std::size_t first = line.find('\t');
            const std::size_t second = line.find('\t', first + 1);
            if (first != std::string::npos && second != std::string::npos) {
                line.replace(first + 1, second - first - 1, "T");
            }
            if (line.ends_with("\t" + company)) {
                line.replace(line.size() - company.size(), company.size(), "C");
            }
        }
        return lines;
    }

    // A replay folder answering, in turn, with the texts given.
    std::string replayOf(const Lines& answers) {
        const std::string folder = sandbox.file("replay").string();
        std::filesystem::create_directories(folder);
        for (std::size_t i = 0; i < answers.size(); ++i) {
            sandbox.write("replay/" + std::to_string(i + 1) + ".xml", answers[i]);
        }
        return "replay:" + folder;
    }

    // The records of the tickets the last export posted, from its answer's trace file, in the
    // order sent.
    Lines postedRecords() {
        const std::string trace = programFile("PunchResp.txt");
        Lines records;
        for (std::size_t at = trace.find("<TimeTrackingRet>"); at != std::string::npos;
             at = trace.find("<TimeTrackingRet>", at + 1)) {
            const std::size_t end = trace.find("</TimeTrackingRet>", at);
            records.push_back(trace.substr(at, end + 18 - at));
        }
        return records;
    }

    // An answer to the undo's question of which tickets are held: one element per (requestID,
    // record); an empty record is the accounting system's "not found".
    static std::string heldAnswer(const std::vector<std::pair<std::string, std::string>>& held) {
        std::string text = "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs>";
        for (const auto& [requestId, record] : held) {
            text += "<TimeTrackingQueryRs requestID=\"" + requestId + "\" " +
                    (record.empty()
                         ? "statusCode=\"3120\" statusSeverity=\"Error\" statusMessage=\"Object "
                           "cannot be found.\"/>"
                         : "statusCode=\"0\" statusSeverity=\"Info\" statusMessage=\"Status "
                           "OK\">" +
                               record + "</TimeTrackingQueryRs>");
        }
        return text + "</QBXMLMsgsRs></QBXML>";
    }

    // The answer of the last resolution, from its trace file (the text between the quotes).
    std::string lastResolutionAnswer() { return traced("ResolveResp.txt"); }

    // The text a trace file holds, between its quotes.
    std::string traced(const std::string& name) {
        const std::string trace = programFile(name);
        return trace.substr(1, trace.size() - 4);
    }
};

}  // namespace vantrell::testing
