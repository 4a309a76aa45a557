#include "shell/window/TabSeparated.h"

namespace vantrell {

namespace {

// A field of a tab-separated line: no tab or line break of its own.
std::string tabField(std::string text) {
    for (char& c : text) {
        if (c == '\t' || c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return text;
}

std::string join(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        line += (i > 0 ? "\t" : "") + tabField(fields[i]);
    }
    return line;
}

}  // namespace

std::vector<std::string> tabSeparatedLines(const TicketTable& table,
                                           const std::vector<TotalsRow>& totals) {
    std::vector<std::string> lines;
    std::vector<std::string> fields;
    for (std::size_t c = 0; c < table.columnCount(); ++c) {
        fields.push_back(table.title(c));
    }
    lines.push_back(join(fields));
    for (std::size_t r = 0; r < table.rowCount(); ++r) {
        fields.clear();
        for (std::size_t c = 0; c < table.columnCount(); ++c) {
            fields.push_back(table.text(r, c));
        }
        lines.push_back(join(fields));
    }
    lines.emplace_back();
    lines.push_back(join({kTotalsTitles.begin(), kTotalsTitles.end()}));
    for (const TotalsRow& row : totals) {
        lines.push_back(join({row.begin(), row.end()}));
    }
    return lines;
}

}  // namespace vantrell
