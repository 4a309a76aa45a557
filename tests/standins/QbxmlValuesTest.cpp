#include <gtest/gtest.h>

#include "standins/QbxmlProlog.h"
#include "standins/QbxmlValues.h"

namespace vantrell::standins {
namespace {

// Versions compare by their numbers, two-digit majors included; text of another form is read as
// the C library's scanner reads it.
TEST(QbxmlValues, VersionsCompareByTheirNumbers) {
    EXPECT_TRUE(versionAtLeast("13.0", 6, 0));
    EXPECT_TRUE(versionAtLeast("10.0", 6, 0));
    EXPECT_FALSE(versionAtLeast("5.0", 6, 0));
    EXPECT_TRUE(versionAtLeast("2.0", 2, 0));
    EXPECT_FALSE(versionAtLeast("2.0", 2, 1));
    EXPECT_TRUE(versionAtLeast("2.1", 2, 1));
    EXPECT_FALSE(versionAtLeast("1.1", 2, 0));
    EXPECT_TRUE(versionAtLeast(" 6.0", 6, 0));
    EXPECT_TRUE(versionAtLeast("6.0 beta", 6, 0));
    EXPECT_TRUE(versionAtLeast("000013.0", 6, 0));
    for (const char* text : {"", "6", "6.", ".0", "six.0", "-"}) {
        EXPECT_FALSE(versionAtLeast(text, 0, 0)) << text;
    }
    EXPECT_TRUE(versionAbove("13.0", "5.0"));
    EXPECT_FALSE(versionAbove("5.0", "5.0"));
}

TEST(QbxmlValues, DurationsFollowTheSchemasPattern) {
    const std::vector<std::pair<const char*, std::int64_t>> valid = {
        {"PT8H0M", 8 * 3600}, {"PT8H", 8 * 3600},
        {"PT30M", 1800},      {"PT7H30M0S", 27000},
        {"PT8H75M", 33300},   {"PT30H0M", 108000},
        {"PT0H0M", 0},        {"-PT1H30M", -5400},
        {"+PT45S", 45},       {"PT999999999H", 3599999996400}};
    for (const auto& [text, seconds] : valid) {
        EXPECT_EQ(parseDuration(text), seconds) << text;
    }
    for (const char* text : {"PT0H-90M", "PT8.5H", "P1DT2H", "PT", "error", "", "PT8M8H", "pt8h",
                             "PT1234567890H", "PT8H ", " PT8H", "PT8H0M0S0"}) {
        EXPECT_FALSE(parseDuration(text)) << text;
    }
}

TEST(QbxmlValues, DatesMustNameARealDay) {
    for (const char* text :
         {"2024-01-02", "2024-02-29", "2024-01-02Z", "2024-01-02+05:00", "0001-01-01"}) {
        EXPECT_EQ(parseDate(text), std::string(text).substr(0, 10)) << text;
    }
    for (const char* text : {"2024-1-2", "01/02/2024", "2024-02-30", "2023-02-29", "error", "",
                             "2024-01-02 ", "0000-01-01", "2024-01-02T08:00:00", "2024-01-02+5"}) {
        EXPECT_FALSE(parseDate(text)) << text;
    }
}

}  // namespace
}  // namespace vantrell::standins
