#pragma once

// Values as the Jet and ACE engines store them in a row, turned into the engine's own forms.
// Everything here reads bytes, never the process locale.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vantrell::db::access {

// Little-endian numbers at `bytes`, which must hold 2, 4 or 8 bytes for the type read.
std::uint16_t readUInt16(const unsigned char* bytes);
std::uint32_t readUInt32(const unsigned char* bytes);
std::uint64_t readUInt64(const unsigned char* bytes);
float readSingle(const unsigned char* bytes);
double readDouble(const unsigned char* bytes);

// A Date/Time value as "YYYY-MM-DD HH:MM:SS", the form in which the engine stores dates. The
// value counts whole days since 1899-12-30, the size of its fraction being the time of day
// (before 1899-12-30 too, where the value is negative), rounded to the second. Nothing when
// the value is not a date of the years 100 to 9999.
std::optional<std::string> dateTextFromJet(double days);

// A Currency value, a count of ten-thousandths, in plain decimal ("-12.3456").
std::string currencyText(std::int64_t tenThousandths);

// A Decimal value in plain decimal: `bytes` holds a sign byte (non-zero when negative) and
// then the unscaled integer as four little-endian 32-bit words, the most significant first;
// `scale` digits of it follow the decimal point. Reads 17 bytes.
std::string decimalText(const unsigned char* bytes, int scale);

// Plain decimal text as a double, rounded correctly whatever the locale. Nothing when the text
// is not such a number.
std::optional<double> parseDecimal(const std::string& text);

// A Replication ID as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}". Reads 16 bytes.
std::string guidText(const unsigned char* bytes);

}  // namespace vantrell::db::access
