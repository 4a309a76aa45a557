#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "qblink/PostedTicketMatch.h"
#include "qblink/ValueFormat.h"

namespace vantrell {
namespace {

TEST(HoursToDuration, RoundsToTheMinuteWithTheirOwnThreshold) {
    const struct {
        float hours;
        const char* duration;
    } cases[] = {
        {8.0f, "PT8H0M"},
        {1.0f, "PT1H0M"},  // a whole hour is an hour, never "PT0H60M"
        {0.99999f, "PT1H0M"},
        {2.0f, "PT2H0M"},
        {1.999f, "PT2H0M"},
        {0.5f, "PT0H30M"},
        {0.9833f, "PT0H59M"},
        {1.0167f, "PT1H1M"},
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

// The minutes the staged tickets are matched by are those the request writes.
TEST(HoursToMinutes, AgreesWithTheDurationTheRequestWrites) {
    std::vector<float> hours = {0.0f,
                                -0.0f,
                                0.009f,
                                0.0092f,
                                8.1f,
                                -1.5f,
                                35791392.0f,
                                35791396.0f,
                                -35791396.0f,
                                1e30f,
                                std::numeric_limits<float>::infinity(),
                                -std::numeric_limits<float>::infinity(),
                                std::numeric_limits<float>::quiet_NaN(),
                                std::numeric_limits<float>::denorm_min()};
    for (int hundredths = -3000; hundredths <= 3000; ++hundredths) {
        hours.push_back(static_cast<float>(hundredths) / 100.0f);
        hours.push_back(static_cast<float>(hundredths) * 0.0137f);
    }
    for (const float h : hours) {
        const std::optional<std::int32_t> minutes = hoursToMinutes(h);
        const std::optional<std::int64_t> written = durationMinutes(hoursToDuration(h));
        EXPECT_EQ(minutes.has_value(), written.has_value()) << h;
        if (minutes && written) {
            EXPECT_EQ(*minutes, *written) << h;
        }
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
