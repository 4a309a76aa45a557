#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interfacedb/DbError.h"
#include "interfacedb/InterfaceDatabase.h"
#include "interfacedb/modDataDef.h"
#include "interfacedb/stage/CheckInputs.h"
#include "interfacedb/stage/PostingJournal.h"
#include "interfacedb/stage/Stage.h"
#include "support/StagedRows.h"
#include "support/TestLog.h"

namespace vantrell {
namespace {

const db::DateTime kDay = *db::DateTime::fromParts(2026, 3, 2);
const std::string kCompany = "C:\\Books\\Company.qbw";

// A journal holding two posted tickets of an earlier export (Sequence 1 and 2, gone from the
// stage) and a stage of three tickets, one of them Sequence 2 staged again.
struct CheckFiles {
    testing::TestLog t;
    InterfaceDatabase state;

    CheckFiles() {
        EXPECT_TRUE(blnConfigureInterfaceDatabase(t.log, state));
        EXPECT_TRUE(blnOpenConnection(t.log, state.cnInterface, state.strInterfaceDB));
        db::Connection& cn = *state.cnInterface;
        testing::addPunchRow(cn, 1, "Ann Lee", kDay, 8, "Hourly");
        testing::addPunchRow(cn, 2, "Bob Jones", kDay, 7.5F, "Hourly");
        const std::int64_t id = stage::recordSentExport(cn, kDay, kCompany);
        stage::recordAcceptedTicket(cn, id, 1, "1-1");
        stage::recordAcceptedTicket(cn, id, 2, "2-1");
        testing::addPunchRow(cn, 2, "Bob Jones", kDay, 7.5F, "Hourly");
        testing::addPunchRow(cn, 3, "Cy Young", kDay, 4, "Overtime");
        testing::addPunchRow(cn, 4, "Dee Ray", kDay, 2, "Hourly");
    }

    db::Connection& cn() { return *state.cnInterface; }
};

std::vector<std::string> stagedNames(const stage::CheckInputs& inputs) {
    std::vector<std::string> names;
    for (const stage::StagedTicket& ticket : inputs.staged) {
        names.push_back(std::to_string(ticket.sequence) + " " + ticket.name);
    }
    return names;
}

TEST(CheckInputsReading, ReadAheadOnItsOwnConnectionGivesWhatTheConnectionReads) {
    CheckFiles files;
    const stage::CheckInputs direct = stage::readCheckInputs(files.cn(), kCompany);
    ASSERT_EQ(direct.journal.size(), 2U);
    EXPECT_EQ(direct.journal.at("2-1").name, "Bob Jones");
    EXPECT_EQ(stagedNames(direct),
              (std::vector<std::string>{"2 Bob Jones", "3 Cy Young", "4 Dee Ray"}));

    stage::CheckInputsReading reading(files.cn(), kCompany);
    reading.start();
    reading.start();  // once begun, begun
    const stage::CheckInputs ahead = reading.take();
    EXPECT_EQ(ahead.journal.size(), direct.journal.size());
    EXPECT_EQ(ahead.journal.at("1-1").name, "Ann Lee");
    EXPECT_EQ(stagedNames(ahead), stagedNames(direct));

    // Not begun: read when taken.
    stage::CheckInputsReading later(files.cn(), kCompany);
    EXPECT_EQ(stagedNames(later.take()), stagedNames(direct));
}

TEST(CheckInputsReading, WritesNotYetCommittedOnTheConnectionAreRead) {
    CheckFiles files;
    files.cn().inTransaction([&] {
        testing::addPunchRow(files.cn(), 5, "Eve Moss", kDay, 1, "Hourly");
        stage::CheckInputsReading reading(files.cn(), kCompany);
        reading.start();
        EXPECT_EQ(stagedNames(reading.take()).back(), "5 Eve Moss");
    });
}

TEST(CheckInputsReading, AFailedReadingFailsTheTakingAndAnUntakenOneIsDropped) {
    CheckFiles files;
    files.cn().execute("drop table PunchSource");
    stage::CheckInputsReading reading(files.cn(), kCompany);
    reading.start();
    EXPECT_THROW(reading.take(), db::DbError);

    // Begun and never taken (the asking failed): waited for, its failure dropped.
    stage::CheckInputsReading dropped(files.cn(), kCompany);
    dropped.start();
}

}  // namespace
}  // namespace vantrell
