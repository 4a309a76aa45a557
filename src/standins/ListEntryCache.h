#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "standins/CompanyRecords.h"

namespace vantrell::standins {

// Entries of one list by ListID, each read from the company file once, absent ones included:
// the pages of one query name the same few thousand employees again and again. Their texts are
// kept packed, a few dozen bytes an entry, so that a large company's list costs little room.
// The owner clears it whenever the list may have changed.
class ListEntryCache {
  public:
    // Past this many entries the cache starts afresh, so that it never holds more than a
    // company's working list.
    static constexpr std::size_t kLimit = 100000;

    // Copies the entry with this ListID into `entry`, reusing the room of its texts; the entry
    // is read by `lookup` (std::optional<ListRecord>(const std::string&)) the first time.
    // False, and `entry` left as it was, when the list holds none.
    template <class Lookup>
    bool find(std::string_view listId, Lookup&& lookup, ListRecord& entry) {
        std::size_t index = 0;
        if (!locate(listId, index)) {
            if (entries_.size() >= kLimit) {
                clear();
            }
            index = add(listId, lookup(std::string(listId)));
        }
        return copy(index, entry);
    }

    void clear();
    std::size_t size() const { return entries_.size(); }

  private:
    struct Entry {
        std::uint32_t chunk = 0;
        std::uint32_t offset = 0;  // of the ListID, the name right after it
        std::uint32_t idSize = 0;
        std::uint32_t nameSize = 0;
        std::int64_t timeCreated = 0;
        std::int64_t timeModified = 0;
        bool present = false;
        bool active = false;
    };
    static constexpr std::size_t kChunkSize = 64 * 1024;

    std::vector<std::unique_ptr<char[]>> chunks_;
    std::size_t chunkUsed_ = 0;
    std::size_t chunkCapacity_ = 0;
    std::deque<Entry> entries_;
    // Open addressing: each slot the number of an entry plus one, 0 when free; never more than
    // half of them taken.
    std::vector<std::uint32_t> slots_;

    std::string_view idOf(const Entry& entry) const;
    bool locate(std::string_view listId, std::size_t& index) const;
    std::size_t add(std::string_view listId, const std::optional<ListRecord>& record);
    void insertSlot(std::size_t index);
    bool copy(std::size_t index, ListRecord& entry) const;
};

// The employees and wage items that the tickets of one query name, kept from one of its pages to
// the next, with the state of the company file's lists they were read in: a page finding the
// lists changed (by this program or by another) reads them afresh.
struct NamedEntries {
    ListEntryCache employees;
    ListEntryCache wageItems;
    std::int64_t listChanges = -1;  // this program's changes to the lists, counted
    std::int64_t dataVersion = -1;  // the file's data version, which others' commits change
};

}  // namespace vantrell::standins
