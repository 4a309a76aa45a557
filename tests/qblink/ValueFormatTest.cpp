#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "qblink/ValueFormat.h"

namespace vantrell {
namespace {

TEST(HoursToDuration, RoundsToTheMinuteWithTheirOwnThreshold) {
    const struct {
        float hours;
        const char* duration;
    } cases[] = {
        {8.0f, "PT8H0M"},
        {7.5f, "PT7H30M"},
        {0.25f, "PT0H15M"},
        {8.1f, "PT8H6M"},  // 8.1f is slightly above 8.1
        {1.99f, "PT1H59M"},
        {7.999f, "PT8H0M"},
        {0.0092f, "PT0H1M"},
        {0.009f, "PT0H0M"},  // 0.55 of a minute counts, 0.54 not
        {0.0f, "PT0H0M"},
        {0.005f, "PT0H0M"},
        {-1.5f, "PT0H-90M"},
        {-0.25f, "PT0H-15M"},  // no hours part below zero
        {30.0f, "PT30H0M"},
        {24.0f, "PT24H0M"},              // no day part
        {35791392.0f, "PT35791392H0M"},  // 2147483520 minutes still fit
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hoursToDuration(c.hours), c.duration) << c.hours;
    }
}

TEST(HoursToDuration, MinutesBeyondA32BitNumberOrNoNumberGiveError) {
    for (const float hours :
         {35791396.0f, -35791396.0f, 1e30f, std::numeric_limits<float>::infinity(),
          std::numeric_limits<float>::quiet_NaN()}) {
        EXPECT_EQ(hoursToDuration(hours), "error") << hours;
    }
}

TEST(DateToString, WritesTheDayOfAStagedDateAndRefusesOtherText) {
    const struct {
        const char* text;
        const char* result;
    } cases[] = {
        {"", ""},
        {"2024-05-27", "2024-05-27"},
        {"2024-05-27 08:30:00", "2024-05-27"},
        {"2024-02-29", "2024-02-29"},
        {"0100-01-01", "0100-01-01"},
        {"9999-12-31 23:59:59", "9999-12-31"},
        {"2023-02-29", "error"},
        {"2024-13-01", "error"},
        {"27/05/2024", "error"},
        {"not a date", "error"},
        {" ", "error"},
        {"2024-05-27 25:00:00", "error"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(dateToString(c.text), c.result) << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace vantrell
