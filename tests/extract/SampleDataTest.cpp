#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "ExtractionFixture.h"
#include "extract/Extraction.h"
#include "sampledata/ChronelSampleCommand.h"
#include "sampledata/DemoData.h"
#include "sampledata/SyntheticData.h"
#include "support/Sandbox.h"

namespace vantrell {
namespace {

using Rows = std::vector<std::string>;

struct Command {
    int status = 0;
    std::string out;
    std::string err;
};

Command chronelSample(const Rows& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = sampledata::runChronelSample(args, out, err);
    return {status, out.str(), err.str()};
}

// Every row of a query on a SQLite file, one text per row.
Rows query(const std::filesystem::path& file, const std::string& sql) {
    db::Connection cn;
    cn.open("Data Source=" + file.string());
    db::Recordset rs;
    rs.open(sql, cn, db::CursorType::Static, db::LockType::ReadOnly);
    Rows rows;
    for (; !rs.eof(); rs.moveNext()) {
        std::string row;
        for (const char* column : {"a", "b"}) {
            const db::Value value = rs.field(column);
            row += (row.empty() ? "" : "|") + (value.isNull() ? "Null" : value.toText());
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(SampleData, DemoFileExercisesEveryDispatchRow) {
    testing::Sandbox sandbox;
    const auto file = sandbox.file("demo.db");
    const Command written = chronelSample({"demo", file.string()});
    ASSERT_EQ(written.status, 0) << written.err;

    // The days include an unknown code and the "*" codes, which stage nothing.
    const Rows codes = query(file,
                             "SELECT NONWORKED AS a, count(*) AS b FROM REPORTDATA "
                             "WHERE NONWORKED IS NOT NULL GROUP BY NONWORKED");
    EXPECT_EQ(codes, (Rows{"*|1", "**|1", "*SICK|1", "*VAC|1", "HOL|6", "JURY|1", "PER|1", "SICK|1",
                           "VAC|2"}));

    const Command listed = chronelSample({"names", file.string()});
    ASSERT_EQ(listed.status, 0) << listed.err;
    std::set<std::string> wageItems;
    std::istringstream lines(listed.out);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("wage-item\t", 0) == 0) {
            wageItems.insert(line.substr(10));
        }
    }
    // Regular, differential, each accrual category and the holiday, with overtime bands and
    // the empty RGOT2 falling back to "OT2".
    const auto definition = sampledata::demoExportDefinition();
    for (const char* column : {"RGSTD", "RGOT1", "DFSTD", "DFOT1", "DFOT2", "HOSTD", "HOOT1",
                               "A1STD", "A2STD", "A3STD"}) {
        const auto& name = std::get<std::string>(definition.payTypes.at(column).value);
        EXPECT_EQ(wageItems.count(name), 1u) << column;
    }
    EXPECT_EQ(wageItems.count("OT2"), 1u);
    EXPECT_NE(listed.out.find("employee\tSiobhan O'Neill\n"), std::string::npos);
    EXPECT_NE(listed.out.find("wage-item\tNight & Weekend Diff\n"), std::string::npos);
}

TEST(SampleData, ExistingFileIsRefusedUnlessForcedAndBadArgumentsAreUsageErrors) {
    testing::Sandbox sandbox;
    const std::string file = sandbox.file("sample.db").string();
    sandbox.write("sample.db", "keep me");
    const Command refused = chronelSample({"demo", file});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("already exists"), std::string::npos);
    EXPECT_EQ(sandbox.read("sample.db"), "keep me");

    EXPECT_EQ(
        chronelSample({"synthetic", file, "--employees", "2", "--days", "3", "--force"}).status, 0);
    EXPECT_EQ(query(file,
                    "SELECT count(*) AS a, count(DISTINCT \"FULL NAME\") AS b "
                    "FROM REPORTDATA"),
              Rows{"6|2"});

    for (const Rows& args :
         {Rows{}, Rows{"demo"}, Rows{"print", file}, Rows{"synthetic", file, "--days", "3"},
          Rows{"synthetic", file, "--employees", "x1", "--days", "3"},
          Rows{"names", file, "--force"}}) {
        const Command bad = chronelSample(args);
        EXPECT_EQ(bad.status, 2) << bad.err;
        EXPECT_NE(bad.err.find("usage: chronel-sample"), std::string::npos);
    }
    const Command outOfRange = chronelSample(
        {"synthetic", sandbox.file("big.db").string(), "--employees", "0", "--days", "3"});
    EXPECT_EQ(outOfRange.status, 1);
    EXPECT_FALSE(std::filesystem::exists(sandbox.file("big.db")));
    EXPECT_EQ(chronelSample({"names", sandbox.file("none.db").string()}).status, 1);
}

TEST(SampleData, SyntheticFilesAreDeterministicForASeedAndHoldEveryEmployeeDay) {
    testing::Sandbox sandbox;
    const auto write = [&](const std::string& name, std::uint64_t seed) {
        sampledata::writeSyntheticFile(sandbox.file(name), {100, 100, seed});
        return query(sandbox.file(name),
                     "SELECT \"FULL NAME\" || ADJUSTEDDATE AS a, "
                     "PST || '/' || POT1 || '/' || POT2 || '/' || ifnull(NONWORKED, '') || '/' "
                     "|| USEDIFF AS b FROM REPORTDATA");
    };
    const Rows first = write("first.db", 7);
    EXPECT_EQ(first.size(), 10000u);
    EXPECT_EQ(write("again.db", 7), first);
    EXPECT_NE(write("other.db", 8), first);
    EXPECT_NE(sampledata::syntheticEmployeeName(0), sampledata::syntheticEmployeeName(400));
}

}  // namespace
}  // namespace vantrell
