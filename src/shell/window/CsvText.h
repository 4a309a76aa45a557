#pragma once

#include <string>
#include <string_view>
#include <vector>

// Comma-separated text as spreadsheets read it: RFC 4180 quoting, CR LF line ends, UTF-8 with a
// byte-order mark (without it a spreadsheet on Windows reads the text in the local code page and
// garbles accents).

namespace vantrell {

// What a field holds: text written by a person (a name, a message), or a number or date this
// program formatted itself.
enum class CsvKind { Text, Number };

// One cell of a CSV row.
struct CsvCell {
    std::string text;
    CsvKind kind = CsvKind::Text;
};
using CsvRow = std::vector<CsvCell>;

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The field as a CSV line holds it. Text that begins with =, +, -, @, a tab or a carriage
// return gets an apostrophe in front, so that no spreadsheet runs it as a formula; text with a
// comma, a quote, a line break or that apostrophe is put in quotes, its quotes doubled. A
// Number is written as it is. Never throws but for memory.
std::string csvField(const CsvCell& cell);

// The fields joined by commas, ended by CR LF.
std::string csvLine(const CsvRow& row);

}  // namespace vantrell
