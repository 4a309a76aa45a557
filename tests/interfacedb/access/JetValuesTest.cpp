#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "interfacedb/DateTime.h"
#include "interfacedb/access/JetValues.h"

namespace vantrell::db::access {
namespace {

TEST(JetDate, StoredDaysBecomeTheDatesAccessShows) {
    struct Case {
        double days;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {0.0, "1899-12-30 00:00:00"},
        {1.0, "1899-12-31 00:00:00"},
        {44532.0, "2021-12-02 00:00:00"},
        {2958101.0, "9999-01-01 00:00:00"},
        {2958465.999988426, "9999-12-31 23:59:59"},
        {2.0, "1900-01-01 00:00:00"},
        {60.0, "1900-02-28 00:00:00"},  // 1900 was no leap year
        {61.0, "1900-03-01 00:00:00"},
        // Before day 0 the whole part counts back and the fraction still counts forward.
        {-1.0, "1899-12-29 00:00:00"},
        {-1.25, "1899-12-29 06:00:00"},
        {-0.5, "1899-12-30 12:00:00"},
        {-728.0, "1898-01-01 00:00:00"},
        {-463126.0, "0632-01-01 00:00:00"},
        {-657434.0, "0100-01-01 00:00:00"},
        // Times round to the nearest second; midnight carries into the next day.
        {0.5000115741, "1899-12-30 12:00:01"},
        {44532.9999999999, "2021-12-03 00:00:00"},
        {-1.9999999999, "1899-12-30 00:00:00"},
    };
    for (const auto& c : cases) {
        const auto text = dateTextFromJet(c.days);
        ASSERT_TRUE(text.has_value()) << c.days;
        EXPECT_EQ(*text, c.expected) << c.days;
        // The engine reads the text back as the same date.
        const auto date = DateTime::parse(*text);
        ASSERT_TRUE(date.has_value()) << *text;
        EXPECT_EQ(date->toStorageText(), c.expected);
    }
}

TEST(JetDate, ValuesOutsideTheYears100To9999AreNoDates) {
    for (const double days :
         {2958466.0, -657435.0, 1e300, -1e300, std::numeric_limits<double>::quiet_NaN(),
          std::numeric_limits<double>::infinity()}) {
        EXPECT_FALSE(dateTextFromJet(days).has_value()) << days;
    }
}

TEST(JetNumbers, LittleEndianBytesGiveTheStoredNumbers) {
    const unsigned char single[] = {0x9A, 0x99, 0x19, 0x3E};  // 0.15f
    EXPECT_EQ(readSingle(single), 0.15f);
    const unsigned char dbl[] = {0x48, 0xE1, 0x7A, 0x14, 0xAE, 0x9F, 0x7B, 0x40};  // 441.98
    EXPECT_EQ(readDouble(dbl), 441.98);
    const unsigned char integer[] = {0xFE, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(static_cast<std::int32_t>(readUInt32(integer)), -2);
}

TEST(JetNumbers, CurrencyIsExactInTenThousandths) {
    EXPECT_EQ(currencyText(0), "0.0000");
    EXPECT_EQ(currencyText(62300), "6.2300");
    EXPECT_EQ(currencyText(-5), "-0.0005");
    EXPECT_EQ(currencyText(std::numeric_limits<std::int64_t>::min()), "-922337203685477.5808");
    EXPECT_EQ(currencyText(std::numeric_limits<std::int64_t>::max()), "922337203685477.5807");
}

// 17 bytes of a Decimal: sign, then four little-endian words, the most significant first.
std::vector<unsigned char> decimalBytes(bool negative, std::uint32_t w0, std::uint32_t w1,
                                        std::uint32_t w2, std::uint32_t w3) {
    std::vector<unsigned char> bytes{static_cast<unsigned char>(negative ? 0x80 : 0)};
    for (const std::uint32_t w : {w0, w1, w2, w3}) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<unsigned char>(w >> shift));
        }
    }
    return bytes;
}

TEST(JetNumbers, DecimalsReadAllTheirDigitsAndPlaceThePoint) {
    struct Case {
        std::vector<unsigned char> bytes;
        int scale;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {decimalBytes(false, 0, 0, 0, 10333), 3, "10.333"},
        {decimalBytes(true, 0, 0, 0, 10333), 3, "-10.333"},
        {decimalBytes(false, 0, 0, 0, 5), 4, "0.0005"},
        {decimalBytes(true, 0, 0, 0, 0), 2, "0.00"},  // no negative zero
        {decimalBytes(false, 0, 0, 1, 0), 0, "4294967296"},
        {decimalBytes(false, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF), 0,
         "340282366920938463463374607431768211455"},
        {decimalBytes(false, 0, 0x204FCE5E, 0x3E250261, 0x10000000), 28,
         "1.0000000000000000000000000000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decimalText(c.bytes.data(), c.scale), c.expected);
    }
}

TEST(JetNumbers, ReplicationIdsReadAsAccessShowsThem) {
    const unsigned char bytes[] = {0x78, 0x56, 0x34, 0x12, 0xBC, 0x9A, 0xF0, 0xDE,
                                   0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    EXPECT_EQ(guidText(bytes), "{12345678-9ABC-DEF0-0123-456789ABCDEF}");
}

}  // namespace
}  // namespace vantrell::db::access
