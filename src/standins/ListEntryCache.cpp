#include "standins/ListEntryCache.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace vantrell::standins {

namespace {

std::size_t hashOf(std::string_view text) {
    return std::hash<std::string_view>{}(text);
}

}  // namespace

void ListEntryCache::clear() {
    chunks_.clear();
    chunkUsed_ = 0;
    chunkCapacity_ = 0;
    entries_.clear();
    slots_.clear();
}

std::string_view ListEntryCache::idOf(const Entry& entry) const {
    return {chunks_[entry.chunk].get() + entry.offset, entry.idSize};
}

bool ListEntryCache::locate(std::string_view listId, std::size_t& index) const {
    if (slots_.empty()) {
        return false;
    }
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hashOf(listId) & mask;; at = (at + 1) & mask) {
        const std::uint32_t slot = slots_[at];
        if (slot == 0) {
            return false;
        }
        if (idOf(entries_[slot - 1]) == listId) {
            index = slot - 1;
            return true;
        }
    }
}

std::size_t ListEntryCache::add(std::string_view listId, const std::optional<ListRecord>& record) {
    const std::string_view name = record ? std::string_view(record->name) : std::string_view();
    const std::size_t size = listId.size() + name.size();
    if (chunks_.empty() || chunkUsed_ + size > chunkCapacity_) {
        chunkCapacity_ = std::max(kChunkSize, size);
        chunks_.push_back(std::make_unique<char[]>(chunkCapacity_));
        chunkUsed_ = 0;
    }
    char* text = chunks_.back().get() + chunkUsed_;
    std::memcpy(text, listId.data(), listId.size());
    if (!name.empty()) {
        std::memcpy(text + listId.size(), name.data(), name.size());
    }
    Entry entry;
    entry.chunk = static_cast<std::uint32_t>(chunks_.size() - 1);
    entry.offset = static_cast<std::uint32_t>(chunkUsed_);
    entry.idSize = static_cast<std::uint32_t>(listId.size());
    entry.nameSize = static_cast<std::uint32_t>(name.size());
    chunkUsed_ += size;
    if (record) {
        entry.present = true;
        entry.active = record->active;
        entry.timeCreated = record->timeCreated;
        entry.timeModified = record->timeModified;
    }
    entries_.push_back(entry);
    const std::size_t index = entries_.size() - 1;
    if (entries_.size() * 2 > slots_.size()) {
        slots_.assign(std::max<std::size_t>(64, slots_.size() * 2), 0);
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            insertSlot(i);
        }
    } else {
        insertSlot(index);
    }
    return index;
}

void ListEntryCache::insertSlot(std::size_t index) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hashOf(idOf(entries_[index])) & mask;
    while (slots_[at] != 0) {
        at = (at + 1) & mask;
    }
    slots_[at] = static_cast<std::uint32_t>(index + 1);
}

bool ListEntryCache::copy(std::size_t index, ListRecord& entry) const {
    const Entry& kept = entries_[index];
    if (!kept.present) {
        return false;
    }
    const char* text = chunks_[kept.chunk].get() + kept.offset;
    entry.listId.assign(text, kept.idSize);
    entry.name.assign(text + kept.idSize, kept.nameSize);
    entry.active = kept.active;
    entry.timeCreated = kept.timeCreated;
    entry.timeModified = kept.timeModified;
    return true;
}

}  // namespace vantrell::standins
