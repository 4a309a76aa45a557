#include "sampledata/DemoData.h"

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "interfacedb/SqlText.h"
#include "sampledata/CalendarDay.h"

namespace vantrell::sampledata {

namespace {

using namespace std::chrono;

constexpr sys_days kFirstDay = 2024y / May / 20;  // a Monday
constexpr int kDayCount = 14;
constexpr int kMemorialDay = 7;  // 2024-05-27, the Monday of the second week
constexpr int kAccessTrue = -1;

Day worked(const std::string& name, int day, double pst, double pot1 = 0, double pot2 = 0,
           bool differential = false) {
    return {name,   isoDate(kFirstDay + days(day)), pst, pot1, pot2,
            Cell(), differential ? kAccessTrue : 0};
}

Day absent(const std::string& name, int day, const char* code, double pst, double pot1 = 0) {
    return {name, isoDate(kFirstDay + days(day)), pst, pot1, 0.0, code, 0};
}

// A full-time week: eight hours on weekdays, a zero-hour row on weekends (the time clock
// reports every day), the holiday paid.
Day usualDay(const std::string& name, int day, double hours, bool differential) {
    if (day == kMemorialDay) {
        return absent(name, day, "HOL", hours);
    }
    if (isWeekend(kFirstDay + days(day))) {
        return worked(name, day, 0.0);
    }
    return worked(name, day, hours, 0, 0, differential);
}

struct Employee {
    std::string name;
    double usualHours;
    bool nightShift;
    std::map<int, std::function<Day(const std::string&, int)>> exceptions;
};

std::vector<Employee> demoEmployees() {
    using D = std::function<Day(const std::string&, int)>;
    return {
        {"Siobhan O'Neill",
         8.0,
         false,
         {{2, D([](auto& n, int d) { return worked(n, d, 8.0, 1.5); })},
          {9, D([](auto& n, int d) { return worked(n, d, 8.0, 2.25); })}}},
        {"Marcus Delgado",
         8.0,
         true,
         {{3, D([](auto& n, int d) { return worked(n, d, 8.0, 2.0, 1.5, true); })},
          {5, D([](auto& n, int d) { return worked(n, d, 4.0, 0, 0, true); })},
          {kMemorialDay, D([](auto& n, int d) { return absent(n, d, "HOL", 8.0, 2.0); })}}},
        {"Priya Raman",
         8.0,
         false,
         {{1, D([](auto& n, int d) { return absent(n, d, "VAC", 8.0); })},
          {2, D([](auto& n, int d) { return absent(n, d, "VAC", 8.0); })},
          {10, D([](auto& n, int d) { return absent(n, d, "*VAC", 4.0); })},
          {11, D([](auto& n, int d) { return worked(n, d, 7.5); })}}},
        {"Tomasz Kowalczyk",
         8.0,
         false,
         {{4, D([](auto& n, int d) { return absent(n, d, "SICK", 8.0); })},
          {8, D([](auto& n, int d) { return absent(n, d, "*SICK", 8.0); })}}},
        {"Grace Okafor",
         8.0,
         false,
         {{0, D([](auto& n, int d) { return absent(n, d, "PER", 8.0); })},
          {9, D([](auto& n, int d) { return absent(n, d, "JURY", 8.0); })},
          {10, D([](auto& n, int d) { return absent(n, d, "*", 8.0); })},
          {11, D([](auto& n, int d) { return absent(n, d, "**", 8.0); })}}},
        {"Daniel Fitzgerald-Hughes",
         5.0,
         false,
         {{3, D([](auto& n, int d) { return worked(n, d, 0.004); })},
          {8, D([](auto& n, int d) { return worked(n, d, 6.25); })}}},
    };
}

}  // namespace

ExportDefinition demoExportDefinition() {
    return {kExportName,
            {{"RGSTD", "Hourly"},
             {"RGOT1", "Overtime Hourly"},
             {"RGOT2", ""},
             {"DFSTD", "Night & Weekend Diff"},
             {"DFOT1", "Night Diff Overtime"},
             {"DFOT2", "Night Diff Double Time"},
             {"HOSTD", "Holiday Pay"},
             {"HOOT1", "Holiday Overtime"},
             {"HOOT2", "Holiday Double Time"},
             {"A1STD", "Vacation Pay"},
             {"A1OT1", "Vacation Overtime"},
             {"A1OT2", "Vacation Double Time"},
             {"A2STD", "Sick Pay"},
             {"A2OT1", "Sick Overtime"},
             {"A2OT2", "Sick Double Time"},
             {"A3STD", "Personal Time Off"},
             {"A3OT1", "Personal Overtime"},
             {"A3OT2", "Personal Double Time"}}};
}

AccrualTitles demoAccrualTitles() {
    return {"Vacation", "Sick Leave", "Personal"};
}

void writeDemoFile(const std::filesystem::path& path) {
    ChronelWriter file(path);

    // A second export, defined first, shows that only the one named for this program is read.
    ExportDefinition summary{"Payroll Summary", {}};
    for (const char* column : kPayTypeColumns) {
        summary.payTypes[column] = std::string("Summary ") + column;
    }
    file.add(summary);
    file.add(demoExportDefinition());
    file.add(demoAccrualTitles());

    // The time clock's own tables hold more than the extraction reads.
    file.execute(
        "CREATE TABLE EMPLOYEES (EMPLOYEEID INTEGER, \"FULL NAME\" TEXT, DEPARTMENT TEXT)");
    int id = 100;
    for (const auto& employee : demoEmployees()) {
        file.execute("INSERT INTO EMPLOYEES VALUES (" + std::to_string(++id) + ", '" +
                     db::escapeSqlText(employee.name) + "', '" +
                     (employee.nightShift ? "Night Shift" : "Day Shift") + "')");
        for (int day = 0; day < kDayCount; ++day) {
            const auto exception = employee.exceptions.find(day);
            file.add(exception != employee.exceptions.end()
                         ? exception->second(employee.name, day)
                         : usualDay(employee.name, day, employee.usualHours, employee.nightShift));
        }
    }
    file.commit();
}

}  // namespace vantrell::sampledata
