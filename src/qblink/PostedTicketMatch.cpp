#include "qblink/PostedTicketMatch.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

#include "diag/Utf8.h"
#include "qblink/ValueFormat.h"

namespace vantrell {

namespace {

// A day of one employee's time under one wage item. The texts lie in the tickets being matched.
struct DayKey {
    std::string_view employee;
    std::string_view date;
    std::string_view item;
};

// Names compare without ASCII letter case, dates exactly.
std::size_t hashOf(const DayKey& key) {
    std::size_t hash = asciiCaselessHash(key.employee);
    hash = hash * 31 + std::hash<std::string_view>()(key.date);
    return hash * 31 + asciiCaselessHash(key.item);
}

bool sameDay(const DayKey& a, const DayKey& b) {
    return a.date == b.date && equalsIgnoringAsciiCase(a.employee, b.employee) &&
           equalsIgnoringAsciiCase(a.item, b.item);
}

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

// The posted tickets by day, in one flat table that a lookup reads in a place or two: each
// slot holds a day's first ticket, and the tickets of a day are chained in the order given.
// `keyOf(i)` gives the day of ticket i, from texts that outlive the table: no ticket is copied.
template <class KeyOf>
class PostedDays {
  public:
    PostedDays(std::size_t count, KeyOf keyOf) : keyOf_(keyOf), next_(count, kNone) {
        std::size_t size = 16;
        while (size < count * 2) {
            size *= 2;
        }
        slots_.resize(size);
        for (std::size_t i = 0; i < count; ++i) {
            const DayKey key = keyOf_(i);
            const std::size_t hash = hashOf(key);
            Slot& slot = slots_[slotOf(key, hash)];
            if (slot.first == kNone) {
                slot = {hash, i, i};
            } else {
                next_[slot.last] = i;
                slot.last = i;
            }
        }
    }

    // The day's first posted ticket, or kNone.
    std::size_t first(const DayKey& key) const { return slots_[slotOf(key, hashOf(key))].first; }

    // The day's ticket after `ticket`, or kNone.
    std::size_t next(std::size_t ticket) const { return next_[ticket]; }

  private:
    struct Slot {
        std::size_t hash = 0;
        std::size_t first = kNone;  // kNone: the slot is free
        std::size_t last = kNone;
    };

    KeyOf keyOf_;
    std::vector<Slot> slots_;  // a power of two in size, at most half of them taken
    std::vector<std::size_t> next_;

    // The slot of the day, or the free slot where it would go.
    std::size_t slotOf(const DayKey& key, std::size_t hash) const {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            const Slot& slot = slots_[at];
            if (slot.first == kNone || (slot.hash == hash && sameDay(keyOf_(slot.first), key))) {
                return at;
            }
        }
    }
};

}  // namespace

std::optional<std::int64_t> durationMinutes(std::string_view text) {
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && text[pos] == '-') {
        negative = true;
        ++pos;
    }
    if (pos >= text.size() || text[pos] != 'P') {
        return std::nullopt;
    }
    ++pos;
    double seconds = 0;
    bool inTime = false;
    bool anyPart = false;
    while (pos < text.size()) {
        if (text[pos] == 'T' && !inTime) {
            inTime = true;
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
            ++pos;
        }
        while (pos < text.size() && ((text[pos] >= '0' && text[pos] <= '9') || text[pos] == '.')) {
            ++pos;
        }
        if (pos == start || pos >= text.size() || pos - start > 18) {
            return std::nullopt;
        }
        double number = 0;
        const char* first = text.data() + start + (text[start] == '+' ? 1 : 0);
        const auto [end, error] = std::from_chars(first, text.data() + pos, number);
        if (error != std::errc() || end != text.data() + pos) {
            return std::nullopt;
        }
        const char unit = text[pos++];
        if (!inTime && unit == 'D') {
            seconds += number * 86400;
        } else if (inTime && unit == 'H') {
            seconds += number * 3600;
        } else if (inTime && unit == 'M') {
            seconds += number * 60;
        } else if (inTime && unit == 'S') {
            seconds += number;
        } else {
            return std::nullopt;
        }
        anyPart = true;
    }
    const double minutes = std::trunc((negative ? -seconds : seconds) / 60);
    if (!anyPart || !std::isfinite(minutes) ||
        std::fabs(minutes) > static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(minutes);
}

std::string hoursText(std::int64_t minutes) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.2f", static_cast<double>(minutes) / 60.0);
    std::string text = buffer;
    while (text.back() == '0') {
        text.pop_back();
    }
    if (text.back() == '.') {
        text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

TicketMatch matchPostedTickets(const std::vector<stage::StagedTicket>& staged,
                               const std::vector<PostedTimeTicket>& posted,
                               const JournalNames& journalNames) {
    const auto postedDay = [&](std::size_t t) {
        return DayKey{posted[t].employee, posted[t].date, posted[t].wageItem};
    };
    // Built when a staged ticket is left over by the journal's pairing: when the journal pairs
    // them all, as it does for a stage exported before, the table is never needed.
    std::optional<PostedDays<decltype(postedDay)>> postedDays;
    const auto days = [&]() -> const PostedDays<decltype(postedDay)>& {
        if (!postedDays) {
            postedDays.emplace(posted.size(), postedDay);
        }
        return *postedDays;
    };
    std::vector<bool> paired(posted.size(), false);
    std::vector<std::size_t> pairedWith(staged.size(), kNone);

    // The posted tickets the journal holds, under the time-and-attendance names they were
    // staged from: a staged ticket of those names is that ticket, whatever the name map has made
    // of them since. These pair first, so that a ticket posted under a name the map gave is
    // never taken by another staged ticket of that name.
    std::vector<std::size_t> recordedAt;  // the posted ticket each one is
    std::vector<const stage::ChronelNames*> recordedNames;
    for (std::size_t t = 0; t < posted.size() && !journalNames.empty(); ++t) {
        if (const auto names = journalNames.find(posted[t].txnId); names != journalNames.end()) {
            recordedAt.push_back(t);
            recordedNames.push_back(&names->second);
        }
    }
    const auto recordedDay = [&](std::size_t r) {
        return DayKey{recordedNames[r]->name, posted[recordedAt[r]].date,
                      recordedNames[r]->payType};
    };
    const PostedDays recordedDays(recordedAt.size(), recordedDay);

    // The first posted ticket of the day from `first` on not yet paired with these minutes; `at`
    // turns a ticket of `index` into a posted ticket's position.
    const auto sameMinutes = [&](const auto& index, std::size_t first,
                                 const std::vector<std::size_t>* at,
                                 const std::optional<std::int64_t>& minutes) {
        const auto postedAt = [&](std::size_t i) { return at ? (*at)[i] : i; };
        std::size_t same = first;
        while (same != kNone &&
               (!minutes || paired[postedAt(same)] || posted[postedAt(same)].minutes != minutes)) {
            same = index.next(same);
        }
        return same == kNone ? kNone : postedAt(same);
    };

    if (!recordedAt.empty()) {
        for (std::size_t i = 0; i < staged.size(); ++i) {
            const stage::StagedTicket& ticket = staged[i];
            if (!ticket.date) {
                continue;
            }
            const std::string date = ticket.date->dateText();
            const std::size_t first = recordedDays.first(
                {ticket.chronelName.empty() ? ticket.name : ticket.chronelName, date,
                 ticket.chronelPayType.empty() ? ticket.payType : ticket.chronelPayType});
            const std::size_t same = first == kNone ? kNone
                                                    : sameMinutes(recordedDays, first, &recordedAt,
                                                                  hoursToMinutes(ticket.hours));
            if (same != kNone) {
                paired[same] = true;
                pairedWith[i] = same;
            }
        }
    }

    struct Unmatched {
        std::size_t staged;
        std::optional<std::int64_t> minutes;
        std::size_t firstPosted;
    };
    TicketMatch match;
    std::vector<Unmatched> unmatched;
    for (std::size_t i = 0; i < staged.size(); ++i) {
        const stage::StagedTicket& ticket = staged[i];
        // A ticket whose day or hours cannot be written is never taken for a posted one.
        if (!ticket.date) {
            continue;
        }
        if (pairedWith[i] == kNone) {
            const std::string date = ticket.date->dateText();
            const std::size_t first = days().first({ticket.name, date, ticket.payType});
            if (first == kNone) {
                continue;
            }
            // The first posted ticket of the day not yet paired that has the same minutes.
            const std::optional<std::int64_t> minutes = hoursToMinutes(ticket.hours);
            const std::size_t same = sameMinutes(days(), first, nullptr, minutes);
            if (same == kNone) {
                unmatched.push_back({i, minutes, first});
                continue;
            }
            paired[same] = true;
            pairedWith[i] = same;
        }
        match.alreadyPosted.push_back(ticket.sequence);
        match.alreadyPostedTxnIds.push_back(posted[pairedWith[i]].txnId);
    }

    for (const Unmatched& left : unmatched) {
        ChangedTicket changed{staged[left.staged], left.minutes, {}};
        for (std::size_t t = left.firstPosted; t != kNone; t = days().next(t)) {
            if (!paired[t]) {
                changed.postedMinutes.push_back(posted[t].minutes);
            }
        }
        if (!changed.postedMinutes.empty()) {
            match.changed.push_back(std::move(changed));
        }
    }
    return match;
}

}  // namespace vantrell
