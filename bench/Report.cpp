#include "Report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace vantrell::bench {

namespace {

constexpr double kMiB = 1024.0 * 1024.0;
constexpr double kRatioTarget = 2.0;
constexpr double kWholeRunTargetSeconds = 10.0;
constexpr double kWholeRunMemoryTargetMiB = 512.0;
// The repeat run is mostly the already-posted check, asked for in pages of a few fields each.
constexpr double kRepeatRunTargetSeconds = 3.0;
constexpr double kRepeatRunMemoryTargetMiB = 256.0;
// The check of the usual first export, when the accounting system holds none of the tickets.
constexpr double kCheckNonePostedTargetSeconds = 0.1;
// A growth exponent above 1 by more than this, and above the floor's own by more than the
// same, is growth faster than the payroll's: noise on a shared machine stays below it.
constexpr double kGrowthSlack = 0.15;

// `value` with `decimals` digits after the point.
std::string fixed(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

// 1234567 as "1,234,567".
std::string grouped(long long value) {
    std::string digits = std::to_string(value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), ",");
    }
    return digits;
}

std::string padded(const std::string& text, std::size_t width, bool right = true) {
    if (text.size() >= width) {
        return text;
    }
    const std::string fill(width - text.size(), ' ');
    return right ? fill + text : text + fill;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

Sample medianSample(const std::vector<Sample>& samples) {
    std::vector<double> seconds;
    std::vector<double> cpu;
    std::vector<double> peak;
    for (const auto& s : samples) {
        seconds.push_back(s.seconds);
        cpu.push_back(s.cpuSeconds);
        peak.push_back(static_cast<double>(s.peakBytes));
    }
    return {median(seconds), median(cpu), static_cast<std::uint64_t>(median(peak))};
}

double ratio(const Sample& phase, const Sample& floor) {
    return floor.seconds > 0 ? phase.seconds / floor.seconds : 0;
}

double exponent(double grew, double ticketsGrew) {
    return grew > 0 && ticketsGrew > 1 ? std::log(grew) / std::log(ticketsGrew) : 0;
}

double timeGrowth(const Sample& small, const Sample& large) {
    return small.seconds > 0 ? large.seconds / small.seconds : 0;
}

bool linear(double phaseExponent, double floorExponent) {
    return phaseExponent <= 1 + kGrowthSlack || phaseExponent <= floorExponent + kGrowthSlack;
}

constexpr std::size_t kLabelWidth = 42;

}  // namespace

Sample RunSamples::floorOf(Phase phase) const {
    Sample sum;
    if (isWholeRun(phase)) {
        for (std::size_t i = 0; i < kPhaseCount; ++i) {
            if (phase == Phase::WholeRun ? kPhases[i].inWholeRun : kPhases[i].inRepeatRun) {
                sum = sum + floorOf(static_cast<Phase>(i));
            }
        }
        return sum;
    }
    for (const Floor floor : kPhases[static_cast<std::size_t>(phase)].floors) {
        sum = sum + (*this)[floor];
    }
    return sum;
}

RunSamples medianOf(const std::vector<RunSamples>& runs) {
    RunSamples result;
    for (std::size_t i = 0; i < kPhaseCount; ++i) {
        std::vector<Sample> samples;
        for (const auto& run : runs) {
            samples.push_back(run.phases[i]);
        }
        result.phases[i] = medianSample(samples);
    }
    for (std::size_t i = 0; i < kFloorCount; ++i) {
        std::vector<Sample> samples;
        for (const auto& run : runs) {
            samples.push_back(run.floors[i]);
        }
        result.floors[i] = medianSample(samples);
    }
    std::vector<Sample> none;
    std::vector<Sample> all;
    std::vector<double> residentNone;
    std::vector<double> residentAll;
    for (const auto& run : runs) {
        none.push_back(run.checkSimulatorNonePosted);
        all.push_back(run.checkSimulatorAllPosted);
        residentNone.push_back(static_cast<double>(run.residentBeforeCheckNonePosted));
        residentAll.push_back(static_cast<double>(run.residentBeforeCheckAllPosted));
    }
    result.checkSimulatorNonePosted = medianSample(none);
    result.checkSimulatorAllPosted = medianSample(all);
    result.residentBeforeCheckNonePosted = static_cast<std::uint64_t>(median(residentNone));
    result.residentBeforeCheckAllPosted = static_cast<std::uint64_t>(median(residentAll));
    return result;
}

void printSize(std::ostream& out, char name, const SizeResult& size) {
    out << "size " << name << ": " << grouped(size.employees) << " employees x " << size.days
        << " days = " << grouped(size.employees * size.days) << " employee-days, "
        << grouped(size.tickets) << " tickets\n\n";
    out << padded("phase", kLabelWidth, false) << "  time s   cpu s   tickets/s  peak MiB"
        << "   floor s  ratio\n";
    for (std::size_t i = 0; i < kPhaseCount; ++i) {
        const Phase phase = static_cast<Phase>(i);
        const Sample& s = size.median[phase];
        const Sample floor = size.median.floorOf(phase);
        const double perSecond = s.seconds > 0 ? static_cast<double>(size.tickets) / s.seconds : 0;
        out << padded(kPhases[i].label, kLabelWidth, false) << padded(fixed(s.seconds, 3), 8)
            << padded(fixed(s.cpuSeconds, 3), 8) << padded(grouped(std::llround(perSecond)), 12)
            << padded(fixed(static_cast<double>(s.peakBytes) / kMiB, 1), 10)
            << padded(fixed(floor.seconds, 3), 10) << padded(fixed(ratio(s, floor), 2), 7) << '\n';
    }
    out << "the checks include the simulator's answer: none posted "
        << fixed(size.median.checkSimulatorNonePosted.seconds, 3) << " s ("
        << fixed(size.median.checkSimulatorNonePosted.cpuSeconds, 3) << " s CPU), all posted "
        << fixed(size.median.checkSimulatorAllPosted.seconds, 3) << " s ("
        << fixed(size.median.checkSimulatorAllPosted.cpuSeconds, 3) << " s CPU)\n"
        << "resident before the checks (their peak includes it): none posted "
        << fixed(static_cast<double>(size.median.residentBeforeCheckNonePosted) / kMiB, 1)
        << " MiB, all posted "
        << fixed(static_cast<double>(size.median.residentBeforeCheckAllPosted) / kMiB, 1)
        << " MiB\n";
    out << '\n'
        << padded("floor (same data, library alone)", kLabelWidth + 6, false)
        << "  time s   cpu s  peak MiB\n";
    for (std::size_t i = 0; i < kFloorCount; ++i) {
        const Sample& s = size.median.floors[i];
        out << padded(kFloorLabels[i], kLabelWidth + 6, false) << padded(fixed(s.seconds, 3), 8)
            << padded(fixed(s.cpuSeconds, 3), 8)
            << padded(fixed(static_cast<double>(s.peakBytes) / kMiB, 1), 10) << '\n';
    }
    out << '\n';
}

void printGrowth(std::ostream& out, const SizeResult& small, const SizeResult& large) {
    const double tickets =
        small.tickets > 0 ? static_cast<double>(large.tickets) / static_cast<double>(small.tickets)
                          : 0;
    out << "growth from " << grouped(small.tickets) << " to " << grouped(large.tickets)
        << " tickets (x" << fixed(tickets, 2) << "); exponent 1 is linear\n\n";
    out << padded("phase", kLabelWidth, false)
        << "  time x  exponent  floor exponent  peak MiB x  growth\n";
    for (std::size_t i = 0; i < kPhaseCount; ++i) {
        const Phase phase = static_cast<Phase>(i);
        const double grew = timeGrowth(small.median[phase], large.median[phase]);
        const double phaseExponent = exponent(grew, tickets);
        const double floorExponent =
            exponent(timeGrowth(small.median.floorOf(phase), large.median.floorOf(phase)), tickets);
        const double smallPeak = static_cast<double>(small.median[phase].peakBytes);
        const double peakGrew =
            smallPeak > 0 ? static_cast<double>(large.median[phase].peakBytes) / smallPeak : 0;
        out << padded(kPhases[i].label, kLabelWidth, false) << padded(fixed(grew, 2), 8)
            << padded(fixed(phaseExponent, 2), 10) << padded(fixed(floorExponent, 2), 16)
            << padded(fixed(peakGrew, 2), 12) << "  "
            << (linear(phaseExponent, floorExponent) ? "linear" : "FASTER THAN LINEAR") << '\n';
    }
    out << '\n';
}

bool printTargets(std::ostream& out, const std::vector<SizeResult>& sizes) {
    const SizeResult& large = sizes.back();
    bool met = true;
    const auto verdict = [&](bool ok) {
        met = met && ok;
        return ok ? "met" : "NOT MET";
    };

    double worstRatio = 0;
    const char* worstPhase = "";
    for (std::size_t i = 0; i < kPhaseCount; ++i) {
        const Phase phase = static_cast<Phase>(i);
        if (isWholeRun(phase)) {
            continue;
        }
        const double r = ratio(large.median[phase], large.median.floorOf(phase));
        if (r > worstRatio) {
            worstRatio = r;
            worstPhase = kPhases[i].label;
        }
    }
    const Sample& whole = large.median[Phase::WholeRun];
    const Sample& repeat = large.median[Phase::RepeatRun];
    const double wholePeakMiB = static_cast<double>(whole.peakBytes) / kMiB;
    const double repeatPeakMiB = static_cast<double>(repeat.peakBytes) / kMiB;
    const Sample& none = large.median[Phase::CheckNonePosted];

    out << "targets at " << grouped(large.tickets) << " tickets\n";
    out << "  every phase within " << kRatioTarget << "x its floor: worst " << fixed(worstRatio, 2)
        << "x, " << worstPhase << ": " << verdict(worstRatio <= kRatioTarget) << '\n';
    out << "  first export run under " << kWholeRunTargetSeconds
        << " s: " << fixed(whole.seconds, 2)
        << " s: " << verdict(whole.seconds < kWholeRunTargetSeconds) << '\n';
    out << "  first export run's peak under " << kWholeRunMemoryTargetMiB
        << " MiB: " << fixed(wholePeakMiB, 0)
        << " MiB: " << verdict(wholePeakMiB < kWholeRunMemoryTargetMiB) << '\n';
    out << "  repeat run, every ticket already posted, under " << kRepeatRunTargetSeconds
        << " s: " << fixed(repeat.seconds, 2)
        << " s: " << verdict(repeat.seconds < kRepeatRunTargetSeconds) << '\n';
    out << "  repeat run's peak under " << kRepeatRunMemoryTargetMiB
        << " MiB: " << fixed(repeatPeakMiB, 0)
        << " MiB: " << verdict(repeatPeakMiB < kRepeatRunMemoryTargetMiB) << '\n';
    // The export runs the check twice (at the activation and right before the send); the
    // phase is one of them.
    out << "  check with none posted under " << kCheckNonePostedTargetSeconds
        << " s: " << fixed(none.seconds, 3)
        << " s: " << verdict(none.seconds < kCheckNonePostedTargetSeconds) << '\n';
    if (sizes.size() >= 2) {
        const SizeResult& small = sizes[sizes.size() - 2];
        const double tickets = small.tickets > 0 ? static_cast<double>(large.tickets) /
                                                       static_cast<double>(small.tickets)
                                                 : 0;
        bool allLinear = true;
        for (std::size_t i = 0; i < kPhaseCount; ++i) {
            const Phase phase = static_cast<Phase>(i);
            allLinear =
                allLinear &&
                linear(
                    exponent(timeGrowth(small.median[phase], large.median[phase]), tickets),
                    exponent(timeGrowth(small.median.floorOf(phase), large.median.floorOf(phase)),
                             tickets));
        }
        const double smallPeak = static_cast<double>(small.median[Phase::WholeRun].peakBytes);
        const double memoryExponent =
            exponent(smallPeak > 0 ? static_cast<double>(whole.peakBytes) / smallPeak : 0, tickets);
        out << "  every phase grows linearly: " << verdict(allLinear) << '\n';
        out << "  peak memory grows linearly (exponent " << fixed(memoryExponent, 2)
            << "): " << verdict(memoryExponent <= 1 + kGrowthSlack) << '\n';
    }
    return met;
}

}  // namespace vantrell::bench
