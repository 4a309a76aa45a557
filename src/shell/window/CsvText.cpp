#include "shell/window/CsvText.h"

namespace vantrell {

namespace {

// A first character with which a spreadsheet starts a formula (a tab or carriage return is
// dropped by some before they look at the next one).
bool startsFormula(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    switch (text.front()) {
        case '=':
        case '+':
        case '-':
        case '@':
        case '\t':
        case '\r':
            return true;
        default:
            return false;
    }
}

}  // namespace

std::string csvField(const CsvCell& cell) {
    if (cell.kind == CsvKind::Number) {
        return cell.text;
    }
    const bool formula = startsFormula(cell.text);
    const bool quoted = formula || cell.text.find_first_of(",\"\r\n") != std::string::npos;
    if (!quoted) {
        return cell.text;
    }
    std::string field;
    field.reserve(cell.text.size() + 4);
    field += '"';
    if (formula) {
        field += '\'';
    }
    for (const char c : cell.text) {
        if (c == '"') {
            field += '"';
        }
        field += c;
    }
    field += '"';
    return field;
}

std::string csvLine(const CsvRow& row) {
    std::string line;
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i > 0) {
            line += ',';
        }
        line += csvField(row[i]);
    }
    line += "\r\n";
    return line;
}

}  // namespace vantrell
