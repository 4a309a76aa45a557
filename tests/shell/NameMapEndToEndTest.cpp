#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "interfacedb/Connection.h"
#include "interfacedb/ConnectionString.h"
#include "interfacedb/stage/PostingJournal.h"
#include "interfacedb/stage/Stage.h"
#include "shell/ExactlyOnceFixture.h"

namespace vantrell {
namespace {

using testing::CliRun;
using testing::linesOf;
using Lines = std::vector<std::string>;

// The name map through vantrell-cli and the stand-in accounting system: the time-and-attendance
// system says "Bob Jones" and "Regular Pay", the company file knows Worker Two and Hourly.
struct NameMap : testing::ExactlyOnce {
    void SetUp() override {
        ExactlyOnce::SetUp();
        addDay("Bob Jones", "2026-03-03", 7.5);
        runOnChronel("update EXPORTDFN set RGSTD='Regular Pay'");
    }

    CliRun map(const std::string& kind, const std::string& from, const std::string& to) {
        return cli({"--data-dir", data, "--map-" + kind, from, to});
    }
    Lines listed() {
        const CliRun run = cli({"--data-dir", data, "--list-maps"});
        EXPECT_EQ(run.status, 0) << run.err;
        return linesOf(run.out);
    }
    // Makes the program folder with its Vantrell.mdb, as a first run does.
    void firstRun() { ASSERT_EQ(cliWithFiles().status, 0); }
    // Both names mapped, as the clerk would after the first run.
    void mapBoth() {
        ASSERT_EQ(map("employee", "Bob Jones", "Worker Two").status, 0);
        ASSERT_EQ(map("pay-type", "Regular Pay", "Hourly").status, 0);
    }

    std::vector<stage::JournalTicket> journalOf(std::int64_t exportId) {
        db::Connection cn;
        cn.open(db::connectionStringFor(data + "/Vantrell.mdb"));
        return stage::exportTickets(cn, exportId);
    }

    static bool contains(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }
};

// Unmapped, both names are missing; mapped, the tickets post under the accounting system's
// names, the journal keeps both, and the undo deletes them again.
TEST_P(NameMap, MappedNamesPostUnderTheAccountingSystemsNamesAndUndo) {
    CliRun run = cliWithFiles();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "Missing Employee Bob Jones")) << run.out;
    EXPECT_TRUE(contains(run.out, "Mising Pay Type Regular Pay")) << run.out;

    run = map("employee", "Bob Jones", "Worker Two");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "The employee Bob Jones is staged as Worker Two from the next run on.\n");
    ASSERT_EQ(map("pay-type", "Regular Pay", "Hourly").status, 0);
    EXPECT_EQ(listed(),
              (Lines{"employee\tBob Jones\tWorker Two", "pay type\tRegular Pay\tHourly"}));

    run = cliWithFiles({"--export"});
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    EXPECT_FALSE(contains(run.out, "Missing")) << run.out;
    EXPECT_FALSE(contains(run.out, "Mising")) << run.out;
    const std::string posted = qbsim({"list-time", company});
    EXPECT_TRUE(contains(posted, "Worker Two")) << posted;
    EXPECT_FALSE(contains(posted, "Bob Jones")) << posted;
    EXPECT_FALSE(contains(posted, "Regular Pay")) << posted;
    EXPECT_EQ(postedTickets().size(), 2u);

    const std::vector<stage::JournalTicket> journal = journalOf(1);
    ASSERT_EQ(journal.size(), 2u);
    // In the order staged: Bob Jones's day first.
    EXPECT_EQ(journal[0].name, "Worker Two");
    EXPECT_EQ(journal[0].payType, "Hourly");
    EXPECT_EQ(journal[0].chronelName, "Bob Jones");
    EXPECT_EQ(journal[0].chronelPayType, "Regular Pay");
    EXPECT_EQ(journal[1].name, "Worker One");  // only its pay type was mapped
    EXPECT_EQ(journal[1].chronelName, "Worker One");
    EXPECT_EQ(journal[1].chronelPayType, "Regular Pay");

    run = cli({"--data-dir", data, "--undo-export", "1"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Export 1: 2 time tickets deleted in QuickBooks.\n");
    EXPECT_EQ(postedTickets().size(), 0u);
}

// A map to a name the accounting system lacks is an issue line naming both names, counted,
// and nothing is posted; two time-and-attendance names may share one accounting name.
TEST_P(NameMap, AMapToAMissingNameIsAnIssueNamingBoth) {
    addDay("Robert Jones", "2026-03-04", 4);
    firstRun();
    ASSERT_EQ(map("employee", "Bob Jones", "Rob Jones").status, 0);
    ASSERT_EQ(map("employee", "Robert Jones", "Rob Jones").status, 0);
    ASSERT_EQ(map("pay-type", "Regular Pay", "Hourly").status, 0);
    CliRun run = cliWithFiles({"--export"});
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_EQ(linesOf(run.out),
              (Lines{"Missing Employee Rob Jones",
                     "  The name map gives Rob Jones for the employee Bob Jones, and QuickBooks "
                     "has no Rob Jones.",
                     "  The name map gives Rob Jones for the employee Robert Jones, and "
                     "QuickBooks has no Rob Jones.",
                     "", "There are 1 issues requiring resolution."}));
    EXPECT_EQ(postedTickets().size(), 0u);

    // Once the accounting system has the name, both badges post under it.
    qbsim({"add-employee", company, "Rob Jones"});
    run = cliWithFiles({"--export"});
    EXPECT_EQ(run.status, 0) << run.err << run.out;
    EXPECT_EQ(postedTickets().size(), 3u);
    expectEachTicketOnce();
}

// A map entry changed after an export: the staged tickets now carry another accounting name,
// but the journal knows which posted tickets they were, so nothing is posted twice.
TEST_P(NameMap, ARemapAfterAnExportPostsNothingTwice) {
    firstRun();
    mapBoth();
    ASSERT_EQ(cliWithFiles({"--export"}).status, 0);
    ASSERT_EQ(postedTickets().size(), 2u);

    qbsim({"add-employee", company, "Robert Jones"});
    ASSERT_EQ(map("employee", "Bob Jones", "Robert Jones").status, 0);
    ASSERT_EQ(map("pay-type", "Regular Pay", "Overtime").status, 0);
    const CliRun run = cliWithFiles({"--export"});
    EXPECT_EQ(run.status, 0) << run.err << run.out;
    EXPECT_TRUE(contains(run.out,
                         "2 time tickets are already in QuickBooks and will not be "
                         "posted again."))
        << run.out;
    EXPECT_EQ(postedTickets().size(), 2u) << qbsim({"list-time", company});
    EXPECT_EQ(exportsListed(), Lines{"1\tT\t2\t0\t0\tC"});

    // A new day of Bob Jones does post, under the new names.
    addDay("Bob Jones", "2026-03-05", 6);
    ASSERT_EQ(cliWithFiles({"--export"}).status, 0);
    const Lines posted = postedTickets();
    ASSERT_EQ(posted.size(), 3u);
    expectEachTicketOnce();
    EXPECT_TRUE(contains(qbsim({"list-time", company}), "Robert Jones"));
}

// Each change is its own run of the program and survives it; bad entries are refused with a
// reason and change nothing; names with quotes, ampersands and accents, and exactly as wide as
// the stage, are kept exactly.
TEST_P(NameMap, EntriesSurviveRestartsAndBadOnesAreRefused) {
    firstRun();
    const std::string hostile = "O'Brien & \"Sons\" Élodie Zoë";
    const std::string fifty(50, 'x');
    const std::string wide = std::string(48, 'y') + "éé";  // 50 characters, 52 bytes
    ASSERT_EQ(map("employee", hostile, "Worker Two").status, 0);
    ASSERT_EQ(map("employee", fifty, wide).status, 0);
    ASSERT_EQ(map("pay-type", "Regular Pay", "Overtime").status, 0);
    ASSERT_EQ(map("pay-type", "regular pay", "Hourly").status, 0);  // replaces, without case
    EXPECT_EQ(listed(),
              (Lines{"employee\t" + hostile + "\tWorker Two", "employee\t" + fifty + "\t" + wide,
                     "pay type\tregular pay\tHourly"}));

    CliRun run = map("employee", "Ann", fifty + "z");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "The employee was not mapped: \"" + fifty +
                           "z\" has 51 characters; a name may have at most 50.\n");
    run = map("employee", "Bob Jones", "BOB JONES");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "The employee was not mapped: \"Bob Jones\" cannot be mapped to itself.\n");
    EXPECT_EQ(map("employee", "", "Worker Two").status, 1);
    run = cli({"--data-dir", data, "--unmap", "employee", "Nobody"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "The name map has no entry for the employee Nobody; --list-maps shows the "
              "entries.\n");

    run = cli({"--data-dir", data, "--unmap", "employee", fifty});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(listed(),
              (Lines{"employee\t" + hostile + "\tWorker Two", "pay type\tregular pay\tHourly"}));

    // The hostile name staged and posted under its mapped name.
    runOnChronel(
        "insert into REPORTDATA values ('O''Brien & \"Sons\" Élodie Zoë', "
        "'2026-03-06', 3, 0, 0, NULL, 0)");
    ASSERT_EQ(map("employee", "Bob Jones", "Worker One").status, 0);
    run = cliWithFiles({"--export"});
    EXPECT_EQ(run.status, 0) << run.err << run.out;
    EXPECT_EQ(postedTickets().size(), 3u);
    EXPECT_FALSE(contains(qbsim({"list-time", company}), "Brien"));

    for (const Lines& usage :
         {Lines{"--unmap", "staff", "X"}, Lines{"--map-employee", "A"},
          Lines{"--list-maps", "--export"}, Lines{"--list-maps", "--map-employee", "A", "B"}}) {
        Lines args{"--data-dir", data};
        args.insert(args.end(), usage.begin(), usage.end());
        EXPECT_EQ(cli(args).status, 64) << usage[0];
    }
}

// A folder without Vantrell.mdb holds no map: the commands say so and make nothing. A damaged
// row is named by the listing and by the run, and not applied.
TEST_P(NameMap, NoDatabaseOrADamagedRowIsNamed) {
    const std::string empty = sandbox.file("empty").string();
    std::filesystem::create_directories(empty);
    CliRun run = cli({"--data-dir", empty, "--map-employee", "Bob Jones", "Worker Two"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "There is no Vantrell.mdb in '" + empty + "': that folder holds no name map.\n");
    EXPECT_FALSE(std::filesystem::exists(empty + "/Vantrell.mdb"));

    firstRun();
    mapBoth();
    runOnJournal("insert into NameMap values ('staff', 'Ann', 'Worker One')");
    runOnJournal("insert into NameMap values ('pay type', 'Regular Pay', 'Overtime')");
    run = cli({"--data-dir", data, "--list-maps"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(linesOf(run.out), Lines{"employee\tBob Jones\tWorker Two"});
    EXPECT_TRUE(contains(run.err,
                         "The name map is damaged: row 3 of NameMap: its Kind is "
                         "\"staff\", not \"employee\" or \"pay type\"; it is not "
                         "applied."))
        << run.err;
    EXPECT_TRUE(contains(run.err, "another row maps the pay type \"Regular Pay\" too")) << run.err;

    run = cliWithFiles({"--export"});
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_TRUE(contains(run.out, "Mising Pay Type Regular Pay")) << run.out;
    EXPECT_TRUE(contains(run.out,
                         "The name map in Vantrell.mdb is damaged and was not applied: "
                         "row 3 of NameMap"))
        << run.out;
    EXPECT_EQ(postedTickets().size(), 0u);
}

// A run that stops at a day keeps the tickets staged before it, and with them the names they
// were staged from.
TEST_P(NameMap, AStageThatStopsKeepsTheNamesOfWhatItStaged) {
    firstRun();
    mapBoth();
    runOnChronel("insert into REPORTDATA values ('Zed', '2026-03-04', NULL, 0, 0, NULL, 0)");
    const CliRun run = cliWithFiles();
    EXPECT_TRUE(contains(run.out, "the extraction stopped at \"Zed\"")) << run.out;
    db::Connection cn;
    cn.open(db::connectionStringFor(data + "/Vantrell.mdb"));
    const std::vector<stage::StagedTicket> staged = stage::readStagedTickets(cn);
    ASSERT_EQ(staged.size(), 2u);
    EXPECT_EQ(staged[0].name, "Worker Two");
    EXPECT_EQ(staged[0].chronelName, "Bob Jones");
    EXPECT_EQ(staged[0].chronelPayType, "Regular Pay");
    EXPECT_EQ(staged[1].chronelName, "Worker One");
}

INSTANTIATE_TEST_SUITE_P(PagedAndWhole, NameMap, ::testing::Values(false, true),
                         testing::checkWayName);

}  // namespace
}  // namespace vantrell
