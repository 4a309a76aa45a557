#include "BenchOptions.h"

#include <charconv>
#include <stdexcept>

namespace vantrell::bench {

namespace {

long long number(const std::string& option, const std::string& text, long long low,
                 long long high) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        throw std::invalid_argument(option + " needs a whole number from " + std::to_string(low) +
                                    " to " + std::to_string(high) + ", not \"" + text + "\"");
    }
    return value;
}

std::vector<long long> numberList(const std::string& option, const std::string& text) {
    std::vector<long long> values;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        values.push_back(number(option, text.substr(start, comma - start), 1, 1'000'000));
        if (comma == std::string::npos) {
            return values;
        }
        start = comma + 1;
    }
}

}  // namespace

BenchOptions parseBenchOptions(const std::vector<std::string>& args) {
    BenchOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) {
                throw std::invalid_argument(option + " needs a value");
            }
            return args[++i];
        };
        if (option == "--employees") {
            options.employees = numberList(option, value());
        } else if (option == "--days") {
            options.days = number(option, value(), 1, 366);
        } else if (option == "--runs") {
            options.runs = static_cast<int>(number(option, value(), 1, 99));
        } else if (option == "--seed") {
            options.seed = static_cast<std::uint64_t>(number(option, value(), 0, 1'000'000'000));
        } else if (option == "--work") {
            options.work = std::filesystem::path(value());
        } else if (option == "--cli") {
            options.cli = std::filesystem::path(value());
        } else if (option == "--keep") {
            options.keep = true;
        } else if (option == "--help" || option == "-h") {
            options.help = true;
        } else {
            throw std::invalid_argument("unknown option " + option);
        }
    }
    return options;
}

}  // namespace vantrell::bench
