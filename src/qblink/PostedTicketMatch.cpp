#include "qblink/PostedTicketMatch.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <tuple>

#include "extract/ValueFormat.h"

namespace vantrell {

namespace {

// The accounting system's names are unique without regard to (ASCII) letter case.
std::string folded(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return result;
}

using DayKey = std::tuple<std::string, std::string, std::string>;  // employee, date, item

std::string dayText(const std::optional<db::DateTime>& date) {
    return date ? dateToString(date->toText()) : std::string();
}

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
        if (std::sscanf(std::string(text.substr(start, pos - start)).c_str(), "%lf", &number) !=
            1) {
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
    // Posted tickets not yet paired, by day and then by minutes, as indexes into `posted`.
    std::map<DayKey, std::multimap<std::optional<std::int64_t>, std::size_t>> unpaired;
    for (std::size_t i = 0; i < posted.size(); ++i) {
        const PostedTimeTicket& ticket = posted[i];
        unpaired[{folded(ticket.employee), ticket.date, folded(ticket.wageItem)}].emplace(
            ticket.minutes, i);
    }

    TicketMatch match;
    std::vector<std::size_t> unmatchedStaged;
    std::vector<std::optional<std::int64_t>> stagedMinutes(staged.size());
    for (std::size_t i = 0; i < staged.size(); ++i) {
        const stage::StagedTicket& ticket = staged[i];
        stagedMinutes[i] = durationMinutes(hoursToDuration(ticket.hours));
        const auto day =
            unpaired.find({folded(ticket.name), dayText(ticket.date), folded(ticket.payType)});
        // A ticket whose day or hours cannot be written is never taken for a posted one.
        if (ticket.date && stagedMinutes[i] && day != unpaired.end()) {
            const auto same = day->second.find(stagedMinutes[i]);
            if (same != day->second.end()) {
                day->second.erase(same);
                match.alreadyPosted.push_back(ticket.sequence);
                continue;
            }
        }
        unmatchedStaged.push_back(i);
    }

    for (const std::size_t i : unmatchedStaged) {
        const stage::StagedTicket& ticket = staged[i];
        const auto day =
            unpaired.find({folded(ticket.name), dayText(ticket.date), folded(ticket.payType)});
        if (!ticket.date || day == unpaired.end() || day->second.empty()) {
            continue;
        }
        ChangedTicket changed{ticket, stagedMinutes[i], {}};
        for (const auto& [minutes, index] : day->second) {
            changed.postedMinutes.push_back(minutes);
        }
        match.changed.push_back(std::move(changed));
    }
    return match;
}

}  // namespace vantrell
