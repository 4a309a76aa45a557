#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "standins/CompanyRecords.h"

namespace vantrell::standins {

// Entries of one list by ListID, each read from the company file once, absent ones included:
// the tickets of a period name a few thousand employees and a handful of wage items again and
// again. The owner clears it whenever the list may have changed.
class ListEntryCache {
  public:
    // Past this many entries the cache starts afresh, so that it never holds more than a
    // company's working list.
    static constexpr std::size_t kLimit = 100000;

    // The entry with this ListID, read by `lookup` (std::optional<ListRecord>(const
    // std::string&)) the first time; nullptr when the list holds none. The pointer lasts until
    // the next find or clear.
    template <class Lookup>
    const ListRecord* find(std::string_view listId, Lookup&& lookup) {
        auto found = entries_.find(listId);
        if (found == entries_.end()) {
            if (entries_.size() >= kLimit) {
                entries_.clear();
            }
            std::string key(listId);
            std::optional<ListRecord> record = lookup(key);
            found = entries_.emplace(std::move(key), std::move(record)).first;
        }
        return found->second ? &*found->second : nullptr;
    }

    void clear() { entries_.clear(); }
    std::size_t size() const { return entries_.size(); }

  private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };
    std::unordered_map<std::string, std::optional<ListRecord>, Hash, std::equal_to<>> entries_;
};

}  // namespace vantrell::standins
