#include "qblink/PostedTicketMatch.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <unordered_map>
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
struct DayKeyHash {
    std::size_t operator()(const DayKey& key) const {
        std::size_t hash = asciiCaselessHash(key.employee);
        hash = hash * 31 + std::hash<std::string_view>()(key.date);
        return hash * 31 + asciiCaselessHash(key.item);
    }
};

struct DayKeyEqual {
    bool operator()(const DayKey& a, const DayKey& b) const {
        return a.date == b.date && equalsIgnoringAsciiCase(a.employee, b.employee) &&
               equalsIgnoringAsciiCase(a.item, b.item);
    }
};

// The minutes of the posted tickets not yet paired, by day: a day rarely holds more than a
// few, so a short list beats a tree.
using UnpairedMinutes =
    std::unordered_map<DayKey, std::vector<std::optional<std::int64_t>>, DayKeyHash, DayKeyEqual>;

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
                               const std::vector<PostedTimeTicket>& posted) {
    UnpairedMinutes unpaired;
    unpaired.reserve(posted.size());
    for (const PostedTimeTicket& ticket : posted) {
        unpaired[{ticket.employee, ticket.date, ticket.wageItem}].push_back(ticket.minutes);
    }

    TicketMatch match;
    std::vector<std::pair<std::size_t, std::optional<std::int64_t>>> unmatched;
    for (std::size_t i = 0; i < staged.size(); ++i) {
        const stage::StagedTicket& ticket = staged[i];
        // A ticket whose day or hours cannot be written is never taken for a posted one.
        if (!ticket.date) {
            continue;
        }
        const std::string date = ticket.date->dateText();
        const auto day = unpaired.find({ticket.name, date, ticket.payType});
        if (day == unpaired.end()) {
            continue;
        }
        const std::optional<std::int64_t> minutes = hoursToMinutes(ticket.hours);
        const auto same = minutes ? std::find(day->second.begin(), day->second.end(), minutes)
                                  : day->second.end();
        if (same != day->second.end()) {
            day->second.erase(same);
            match.alreadyPosted.push_back(ticket.sequence);
        } else {
            unmatched.emplace_back(i, minutes);
        }
    }

    for (const auto& [i, minutes] : unmatched) {
        const stage::StagedTicket& ticket = staged[i];
        const std::string date = ticket.date->dateText();
        const auto day = unpaired.find({ticket.name, date, ticket.payType});
        if (day->second.empty()) {
            continue;
        }
        ChangedTicket changed{ticket, minutes, {}};
        changed.postedMinutes = day->second;
        match.changed.push_back(std::move(changed));
    }
    return match;
}

}  // namespace vantrell
