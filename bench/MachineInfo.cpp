#include "MachineInfo.h"

#include <sqlite3.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <pugixml.hpp>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

namespace vantrell::bench {

namespace {

// The value of the first line of `file` that starts with `key`, after its colon.
std::string valueOf(const char* file, const std::string& key) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) == 0) {
            const auto colon = line.find(':');
            const auto start = line.find_first_not_of(" \t", colon + 1);
            return start == std::string::npos ? std::string() : line.substr(start);
        }
    }
    return "unknown";
}

std::string firstWord(const char* file) {
    std::ifstream in(file);
    std::string word;
    in >> word;
    return word;
}

}  // namespace

std::string describeMachine() {
    std::ostringstream text;
    text << valueOf("/proc/cpuinfo", "model name") << ", " << std::thread::hardware_concurrency()
         << " cores, ";
    const std::string memory = valueOf("/proc/meminfo", "MemTotal");
    char gib[32];
    std::snprintf(gib, sizeof gib, "%.0f GiB", std::stod("0" + memory) / 1024.0 / 1024.0);
    text << gib << " memory";
    utsname system{};
    if (uname(&system) == 0) {
        text << ", " << system.sysname << ' ' << system.release;
    }
    text << "; SQLite " << sqlite3_libversion() << ", pugixml " << PUGIXML_VERSION / 1000 << '.'
         << PUGIXML_VERSION % 1000 / 10 << "; "
#ifdef NDEBUG
         << "optimised build"
#else
         << "DEBUG BUILD (figures not representative)"
#endif
         << "; load average " << firstWord("/proc/loadavg") << " at start";
    return text.str();
}

}  // namespace vantrell::bench
