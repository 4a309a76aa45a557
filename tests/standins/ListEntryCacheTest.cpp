#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <optional>
#include <string>

#include "standins/ListEntryCache.h"

namespace vantrell::standins {
namespace {

// A list of a few thousand entries, every seventh ListID asked for missing from it; each
// entry is looked up in the list once however often it is asked for, and comes back whole.
TEST(ListEntryCache, EachEntryIsReadOnceAndComesBackWhole) {
    std::map<std::string, int> lookups;
    const auto lookup = [&](const std::string& listId) -> std::optional<ListRecord> {
        ++lookups[listId];
        const long long number =
            std::stoll(listId.substr(0, listId.find('-')), nullptr, 16) - 0x80000000LL;
        if (number % 7 == 0) {
            return std::nullopt;
        }
        ListRecord record;
        record.listId = listId;
        // Empty names and long ones among them.
        record.name = number % 5 == 0
                          ? std::string()
                          : std::string(static_cast<std::size_t>(number % 60), 'a') + listId;
        record.active = number % 2 == 0;
        record.timeCreated = number;
        record.timeModified = -number;
        return record;
    };
    const auto idOf = [](int number) {
        char text[32];
        std::snprintf(text, sizeof text, "%llX-1700000000", 0x80000000LL + number);
        return std::string(text);
    };
    ListEntryCache cache;
    for (int round = 0; round < 3; ++round) {
        for (int number = 0; number < 5000; ++number) {
            const std::string listId = idOf(number);
            ListRecord entry;
            entry.name = "left as it was";
            const auto expected = lookup(listId);
            --lookups[listId];
            ASSERT_EQ(cache.find(listId, lookup, entry), expected.has_value()) << listId;
            if (expected) {
                EXPECT_EQ(entry.listId, expected->listId);
                EXPECT_EQ(entry.name, expected->name);
                EXPECT_EQ(entry.active, expected->active);
                EXPECT_EQ(entry.timeCreated, expected->timeCreated);
                EXPECT_EQ(entry.timeModified, expected->timeModified);
            } else {
                EXPECT_EQ(entry.name, "left as it was");
            }
        }
        EXPECT_EQ(cache.size(), 5000u);
    }
    for (const auto& [listId, count] : lookups) {
        EXPECT_EQ(count, 1) << listId;
    }

    // Cleared, every entry is read again.
    cache.clear();
    EXPECT_EQ(cache.size(), 0u);
    ListRecord entry;
    EXPECT_TRUE(cache.find(idOf(1), lookup, entry));
    EXPECT_EQ(lookups[idOf(1)], 2);
    EXPECT_EQ(cache.size(), 1u);
}

}  // namespace
}  // namespace vantrell::standins
