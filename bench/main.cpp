// vantrell-bench: the program's run, phase by phase and whole, beside its libraries' floors.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchOptions.h"
#include "ExportRun.h"
#include "MachineInfo.h"
#include "Report.h"
#include "SizeRun.h"

namespace fs = std::filesystem;
using namespace vantrell::bench;

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == kMeasureChild) {
        return measureChild(argc - 2, argv + 2);
    }
    BenchOptions options;
    try {
        options = parseBenchOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::invalid_argument& e) {
        std::cerr << "vantrell-bench: " << e.what() << '\n' << kBenchUsage;
        return 2;
    }
    if (options.help) {
        std::cout << kBenchUsage;
        return 0;
    }
    if (options.cli.empty()) {
        options.cli = VANTRELL_BENCH_CLI;
    }

    const bool temporary = !options.work;
    const fs::path work =
        temporary ? fs::temp_directory_path() / ("vantrell-bench-" + std::to_string(getpid()))
                  : *options.work;
    int status = 0;
    try {
        fs::create_directories(work);
        std::cout << "Vantrell benchmark: " << options.days << " days, median of " << options.runs
                  << (options.runs == 1 ? " run" : " runs") << " per size\n"
                  << "machine: " << describeMachine() << "\n\n"
                  << std::flush;
        std::vector<SizeResult> sizes;
        for (const long long employees : options.employees) {
            sizes.push_back(benchmarkSize(options, employees, work, std::cerr));
            printSize(std::cout, static_cast<char>('A' + sizes.size() - 1), sizes.back());
            std::cout << std::flush;
        }
        for (std::size_t i = 1; i < sizes.size(); ++i) {
            printGrowth(std::cout, sizes[i - 1], sizes[i]);
        }
        status = printTargets(std::cout, sizes) ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "vantrell-bench: " << e.what() << '\n';
        status = 2;
    }
    if (temporary && !options.keep) {
        std::error_code ignored;
        fs::remove_all(work, ignored);
    }
    return status;
}
