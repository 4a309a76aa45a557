#include "sampledata/ChronelSampleCommand.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>

#include "sampledata/ChronelWriter.h"
#include "sampledata/DemoData.h"
#include "sampledata/OutputFile.h"
#include "sampledata/StagedNameList.h"
#include "sampledata/SyntheticData.h"

namespace vantrell::sampledata {

namespace {

constexpr const char* kUsage =
    "usage: chronel-sample demo FILE [--force]\n"
    "       chronel-sample synthetic FILE --employees N --days D [--seed S] [--force]\n"
    "       chronel-sample names FILE\n"
    "Writes a time-and-attendance sample file, or lists the employee and wage-item names\n"
    "that the extraction stages from one. An existing FILE is replaced only with --force.\n";

class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The command's FILE and its options; "--force" takes no value, the others one each.
struct Arguments {
    std::string command;
    std::string file;
    bool force = false;
    std::map<std::string, std::string, std::less<>> values;
};

Arguments parse(const std::vector<std::string>& args,
                std::initializer_list<std::string_view> valueOptions, bool allowForce) {
    Arguments parsed;
    parsed.command = args.at(0);
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--force" && allowForce) {
            parsed.force = true;
        } else if (std::find(valueOptions.begin(), valueOptions.end(), arg) != valueOptions.end()) {
            if (i + 1 == args.size()) {
                throw UsageError(arg + " needs a value");
            }
            parsed.values[arg] = args[++i];
        } else if (arg.rfind("--", 0) == 0 || !parsed.file.empty()) {
            throw UsageError("unexpected argument '" + arg + "'");
        } else {
            parsed.file = arg;
        }
    }
    if (parsed.file.empty()) {
        throw UsageError("FILE is missing");
    }
    return parsed;
}

template <class Number>
Number number(const Arguments& arguments, std::string_view option, std::optional<Number> fallback) {
    const auto found = arguments.values.find(option);
    if (found == arguments.values.end()) {
        if (!fallback) {
            throw UsageError(std::string(option) + " is missing");
        }
        return *fallback;
    }
    const std::string& text = found->second;
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        throw UsageError(std::string(option) + " needs a whole number, not '" + text + "'");
    }
    return value;
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        throw UsageError("no command given");
    }
    const std::string& command = args[0];
    if (command == "demo") {
        const Arguments a = parse(args, {}, true);
        writeOutputFile(a.file, a.force, [](const auto& path) { writeDemoFile(path); });
        out << "Wrote the demo file " << a.file << "\n";
        return 0;
    }
    if (command == "synthetic") {
        const Arguments a = parse(args, {"--employees", "--days", "--seed"}, true);
        SyntheticOptions options;
        options.employees = number<long long>(a, "--employees", std::nullopt);
        options.days = number<long long>(a, "--days", std::nullopt);
        options.seed = number<std::uint64_t>(a, "--seed", std::uint64_t{1});
        writeOutputFile(a.file, a.force,
                        [&](const auto& path) { writeSyntheticFile(path, options); });
        out << "Wrote " << options.employees * options.days << " employee-days to " << a.file
            << "\n";
        return 0;
    }
    if (command == "names") {
        const Arguments a = parse(args, {}, false);
        return listStagedNames(a.file, out, err);
    }
    throw UsageError("unknown command '" + command + "'");
}

}  // namespace

int runChronelSample(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        return run(args, out, err);
    } catch (const UsageError& e) {
        err << "chronel-sample: " << e.what() << "\n" << kUsage;
        return 2;
    } catch (const std::exception& e) {
        err << "chronel-sample: " << e.what() << "\n";
        return 1;
    }
}

}  // namespace vantrell::sampledata
