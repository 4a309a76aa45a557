#include "interfacedb/access/LongValue.h"

#include <algorithm>

#include "interfacedb/access/JetValues.h"

namespace vantrell::db::access {

namespace {

constexpr std::size_t kReferenceSize = 12;
constexpr std::uint32_t kInline = 0x80000000;
constexpr std::uint32_t kOnePage = 0x40000000;
constexpr std::uint32_t kKindMask = 0xC0000000;

// The bytes of the row `pageRow` (page number above the low byte, row number in it). The page
// is read into libmdb's second buffer, so the row being read stays where it is.
std::optional<std::string> pageRow(MdbHandle* mdb, std::uint32_t pageRowNumber) {
    void* page = nullptr;
    int start = 0;
    std::size_t length = 0;
    if (mdb_find_pg_row(mdb, static_cast<int>(pageRowNumber), &page, &start, &length) != 0 ||
        page == nullptr) {
        return std::nullopt;
    }
    const auto* bytes = static_cast<const unsigned char*>(page) + start;
    return std::string(reinterpret_cast<const char*>(bytes), length);
}

}  // namespace

std::optional<std::string> readLongValue(MdbHandle* mdb, const unsigned char* reference,
                                         std::size_t size) {
    if (size < kReferenceSize) {
        return std::string();  // a zero-length value keeps no reference
    }
    const std::uint32_t header = readUInt32(reference);
    const std::size_t length = header & ~kKindMask;
    std::uint32_t next = readUInt32(reference + 4);

    if ((header & kKindMask) == kInline) {
        if (length > size - kReferenceSize) {
            return std::nullopt;
        }
        return std::string(reinterpret_cast<const char*>(reference + kReferenceSize), length);
    }
    if ((header & kKindMask) == kOnePage) {
        auto row = pageRow(mdb, next);
        if (!row || row->size() < length) {
            return std::nullopt;
        }
        row->resize(length);
        return row;
    }
    if ((header & kKindMask) != 0) {
        return std::nullopt;
    }
    // A chain of rows, each starting with the number of the next one (0 ends the chain). Every
    // row adds at least one byte, so a chain that loops runs into the length and stops.
    std::string value;
    while (value.size() < length) {
        if (next == 0) {
            return std::nullopt;
        }
        const auto row = pageRow(mdb, next);
        if (!row || row->size() <= 4) {
            return std::nullopt;
        }
        next = readUInt32(reinterpret_cast<const unsigned char*>(row->data()));
        value.append(*row, 4, std::min(row->size() - 4, length - value.size()));
    }
    return value;
}

}  // namespace vantrell::db::access
