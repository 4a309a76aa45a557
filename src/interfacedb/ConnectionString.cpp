#include "interfacedb/ConnectionString.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "interfacedb/DbError.h"

namespace vantrell::db {

namespace {

constexpr std::string_view kProvider = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=";
constexpr std::string_view kDataSource = "data source=";

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// True when `rest` (the text after a ";") starts a keyword of its own.
bool startsKeyword(std::string_view rest) {
    static constexpr std::array<std::string_view, 9> kKeywords = {
        "provider=",         "data source=", "persist security info=", "user id=",
        "password=",         "mode=",        "extended properties=",   "jet oledb:",
        "locale identifier="};
    const std::string l = lower(rest.substr(0, 24));
    std::string_view trimmed = l;
    while (!trimmed.empty() && trimmed.front() == ' ') {
        trimmed.remove_prefix(1);
    }
    return std::any_of(kKeywords.begin(), kKeywords.end(),
                       [&](std::string_view k) { return trimmed.starts_with(k); });
}

}  // namespace

std::string connectionStringFor(std::string_view path) {
    return std::string(kProvider) + std::string(path) + ";Persist Security Info=False";
}

std::string catalogConnectionStringFor(std::string_view path) {
    return std::string(kProvider) + std::string(path);
}

std::string dataSourceOf(std::string_view connectionString) {
    const std::string l = lower(connectionString);
    std::size_t start = std::string::npos;
    for (std::size_t pos = l.find(kDataSource); pos != std::string::npos;
         pos = l.find(kDataSource, pos + 1)) {
        if (pos == 0 || l[pos - 1] == ';' || l[pos - 1] == ' ') {
            start = pos + kDataSource.size();
            break;
        }
    }
    if (start == std::string::npos) {
        throw DbError("The connection string names no Data Source: " +
                      std::string(connectionString));
    }
    std::string_view rest = connectionString.substr(start);
    if (!rest.empty() && rest.front() == '"') {
        const auto close = rest.find('"', 1);
        if (close != std::string_view::npos) {
            return std::string(rest.substr(1, close - 1));
        }
    }
    std::size_t end = 0;
    while ((end = rest.find(';', end)) != std::string_view::npos) {
        if (startsKeyword(rest.substr(end + 1)) || end + 1 == rest.size()) {
            break;
        }
        ++end;
    }
    return std::string(rest.substr(0, end));
}

}  // namespace vantrell::db
