#include "sampledata/SyntheticData.h"

#include <array>
#include <chrono>

#include "sampledata/CalendarDay.h"
#include "sampledata/ChronelWriter.h"
#include "sampledata/DemoData.h"

namespace vantrell::sampledata {

namespace {

using namespace std::chrono;

constexpr sys_days kFirstDay = 2024y / January / 1;

constexpr std::array<const char*, 20> kFirstNames{
    "Amelia", "Bashir",  "Carmen",  "Desmond",  "Elif",  "Farah",   "Gideon",
    "Hana",   "Ignacio", "Jolene",  "Kenji",    "Lucia", "Mateus",  "Nadia",
    "Oisin",  "Paloma",  "Quentin", "Rosalind", "Soren", "Thandiwe"};
constexpr std::array<const char*, 20> kLastNames{
    "O'Brien",   "Achterberg", "Bianchi", "Castellanos", "Dubois", "Eriksen",   "Fonseca",
    "Gallagher", "Haddad",     "Ivanova", "Jablonski",   "Kovacs", "Lindqvist", "Mbeki",
    "Nakamura",  "Ortega",     "Petrov",  "Quispe",      "Rahman", "Szabo"};

// Fixed-date and observed US holidays, as month and day; any year of the file gets them.
constexpr std::array<month_day, 6> kHolidays{January / 1,   May / 27,      July / 4,
                                             September / 2, November / 28, December / 25};

// SplitMix64: small, fast and the same on every platform and compiler.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // 0 to n-1.
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    // A multiple of a quarter hour from `low` to `high` quarters.
    double quarters(int low, int high) { return (low + below(high - low + 1)) * 0.25; }

  private:
    std::uint64_t state_;
};

bool isHoliday(sys_days day) {
    const year_month_day ymd(day);
    const month_day md = ymd.month() / ymd.day();
    for (const auto& holiday : kHolidays) {
        if (holiday == md) {
            return true;
        }
    }
    return false;
}

Day syntheticDay(Random& random, const std::string& name, sys_days day) {
    Day row{name, isoDate(day), 0.0, 0.0, 0.0, Cell(), 0};
    if (isHoliday(day)) {
        row.pst = 8.0;
        row.nonWorked = "HOL";
        return row;
    }
    if (isWeekend(day)) {
        return row;
    }
    const int roll = random.below(100);
    static constexpr std::array<const char*, 7> kCodes{"VAC",  "VAC", "SICK", "PER",
                                                       "JURY", "*",   "*SICK"};
    if (roll < static_cast<int>(kCodes.size())) {
        row.pst = roll < 2 ? 8.0 : random.quarters(16, 32);
        row.nonWorked = kCodes[static_cast<std::size_t>(roll)];
        return row;
    }
    row.pst = random.below(4) == 0 ? random.quarters(24, 31) : 8.0;
    if (random.below(5) == 0) {
        row.pot1 = random.quarters(1, 12);
        if (random.below(6) == 0) {
            row.pot2 = random.quarters(1, 8);
        }
    }
    if (random.below(7) == 0) {
        row.useDiff = -1;
    }
    return row;
}

void checkOptions(const SyntheticOptions& options) {
    if (options.employees < 1 || options.employees > kMaxEmployees) {
        throw GeneratorError("the number of employees must be from 1 to " +
                             std::to_string(kMaxEmployees));
    }
    if (options.days < 1 || options.days > kMaxDays) {
        throw GeneratorError("the number of days must be from 1 to " + std::to_string(kMaxDays));
    }
    if (options.employees * options.days > kMaxEmployeeDays) {
        throw GeneratorError("at most " + std::to_string(kMaxEmployeeDays) +
                             " employee-days fit in one file");
    }
}

}  // namespace

std::string syntheticEmployeeName(long long index) {
    const auto first = static_cast<std::size_t>(index) % kFirstNames.size();
    const auto last = static_cast<std::size_t>(index) / kFirstNames.size() % kLastNames.size();
    const long long round = index / static_cast<long long>(kFirstNames.size() * kLastNames.size());
    std::string name = std::string(kFirstNames[first]) + " " + kLastNames[last];
    return round == 0 ? name : name + " " + std::to_string(round + 1);
}

void writeSyntheticFile(const std::filesystem::path& path, const SyntheticOptions& options) {
    checkOptions(options);
    ChronelWriter file(path);
    file.add(demoExportDefinition());
    file.add(demoAccrualTitles());
    Random random(options.seed);
    for (long long employee = 0; employee < options.employees; ++employee) {
        const std::string name = syntheticEmployeeName(employee);
        for (long long day = 0; day < options.days; ++day) {
            file.add(syntheticDay(random, name, kFirstDay + days(day)));
        }
    }
    file.commit();
}

}  // namespace vantrell::sampledata
