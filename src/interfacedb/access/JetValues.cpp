#include "interfacedb/access/JetValues.h"

#include "interfacedb/CivilCalendar.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <iterator>

namespace vantrell::db::access {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// Days from 1899-12-30, Jet's day 0, to 1970-01-01.
constexpr std::int64_t kJetEpochToUnixEpoch = 25569;
// Jet's range, 100-01-01 to 9999-12-31, with a day to spare on either side for the rounding.
constexpr double kFirstDay = -657435.0;
constexpr double kLastDay = 2958466.0;

// `digits` with a decimal point before its last `scale` digits, and a minus sign unless the
// number is zero.
std::string withScale(const std::string& digits, int scale, bool negative) {
    const auto places = static_cast<std::size_t>(scale > 0 ? scale : 0);
    const std::size_t padding = digits.size() <= places ? places + 1 - digits.size() : 0;
    const std::size_t whole = padding + digits.size() - places;  // digits before the point
    std::string text;
    text.reserve(padding + digits.size() + 2);
    if (negative && digits.find_first_not_of('0') != std::string::npos) {
        text.push_back('-');
    }
    for (std::size_t i = 0; i < padding + digits.size(); ++i) {
        if (i == whole) {
            text.push_back('.');
        }
        text.push_back(i < padding ? '0' : digits[i - padding]);
    }
    return text;
}

}  // namespace

std::uint16_t readUInt16(const unsigned char* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

std::uint32_t readUInt32(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(readUInt16(bytes)) |
           (static_cast<std::uint32_t>(readUInt16(bytes + 2)) << 16);
}

std::uint64_t readUInt64(const unsigned char* bytes) {
    return static_cast<std::uint64_t>(readUInt32(bytes)) |
           (static_cast<std::uint64_t>(readUInt32(bytes + 4)) << 32);
}

float readSingle(const unsigned char* bytes) {
    return std::bit_cast<float>(readUInt32(bytes));
}

double readDouble(const unsigned char* bytes) {
    return std::bit_cast<double>(readUInt64(bytes));
}

std::optional<std::string> dateTextFromJet(double days) {
    if (!std::isfinite(days) || days < kFirstDay || days > kLastDay) {
        return std::nullopt;
    }
    const double whole = std::trunc(days);
    auto day = static_cast<std::int64_t>(whole);
    auto second = static_cast<std::int64_t>(std::llround(std::fabs(days - whole) * kSecondsPerDay));
    // A time that rounds up to midnight is the start of the following day, on either side of
    // day 0.
    if (second >= kSecondsPerDay) {
        second -= kSecondsPerDay;
        day += 1;
    }
    const CivilDate date = civilFromDays(day - kJetEpochToUnixEpoch);
    if (date.year < 100 || date.year > 9999) {
        return std::nullopt;
    }
    // Written by hand: this runs for every date of every row loaded.
    std::string text = "0000-00-00 00:00:00";
    const auto put = [&text](std::size_t end, std::int64_t value) {
        for (std::size_t i = end; value > 0; --i, value /= 10) {
            text[i] = static_cast<char>('0' + value % 10);
        }
    };
    put(3, date.year);
    put(6, date.month);
    put(9, date.day);
    put(12, second / 3600);
    put(15, second / 60 % 60);
    put(18, second % 60);
    return text;
}

std::string currencyText(std::int64_t tenThousandths) {
    const bool negative = tenThousandths < 0;
    // The magnitude as unsigned, so that the most negative amount has one too.
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(tenThousandths)
                                             : static_cast<std::uint64_t>(tenThousandths);
    return withScale(std::to_string(magnitude), 4, negative);
}

std::string decimalText(const unsigned char* bytes, int scale) {
    const bool negative = bytes[0] != 0;
    std::array<std::uint32_t, 4> words{};  // most significant first
    for (std::size_t i = 0; i < words.size(); ++i) {
        words[i] = readUInt32(bytes + 1 + 4 * i);
    }
    // Long division by ten, word by word, yields the digits from the last one; 2^128 has 39.
    std::array<char, 40> reversed{};
    std::size_t count = 0;
    do {
        std::uint64_t remainder = 0;
        for (auto& word : words) {
            const std::uint64_t current = (remainder << 32) | word;
            word = static_cast<std::uint32_t>(current / 10);
            remainder = current % 10;
        }
        reversed[count++] = static_cast<char>('0' + remainder);
    } while (words[0] != 0 || words[1] != 0 || words[2] != 0 || words[3] != 0);
    const std::string digits(
        std::make_reverse_iterator(reversed.begin() + static_cast<std::ptrdiff_t>(count)),
        reversed.rend());
    return withScale(digits, scale, negative);
}

std::optional<double> parseDecimal(const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::string guidText(const unsigned char* bytes) {
    // The first three groups are little-endian numbers, the last two plain bytes.
    static constexpr std::array<int, 16> kOrder = {3, 2, 1,  0,  5,  4,  7,  6,
                                                   8, 9, 10, 11, 12, 13, 14, 15};
    std::string text = "{";
    for (std::size_t i = 0; i < kOrder.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) {
            text += '-';
        }
        static constexpr char kHex[] = "0123456789ABCDEF";
        const unsigned char byte = bytes[kOrder[i]];
        text += kHex[byte >> 4];
        text += kHex[byte & 0x0F];
    }
    return text + "}";
}

}  // namespace vantrell::db::access
