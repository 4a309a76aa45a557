#include "extract/NonWorkedCode.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "diag/Guard.h"
#include "diag/RequireObject.h"
#include "interfacedb/DbError.h"

namespace vantrell {

namespace {

std::string upperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    });
    return text;
}

// True when `text` begins with `code`, letter case aside. Blanks count as they are.
bool beginsWith(const db::Value& text, const std::string& upperCode) {
    return upperCase(text.toText()).find(upperCode) == 0;
}

struct TitleCategory {
    std::string_view column;
    std::string_view category;
};

constexpr std::array<TitleCategory, 3> kAccrualTitles{{
    {"A1TITLE", "ACCRUAL1"},
    {"A2TITLE", "ACCRUAL2"},
    {"A3TITLE", "ACCRUAL3"},
}};

}  // namespace

std::string strNonWkdCode(modErrorLog& log, ExtractionState& state, const std::string& strCode) {
    std::string result;
    guard(log, "strNonWkdCode", strCode, [&] {
        const std::string code = upperCase(strCode);
        const db::Recordset& rules = requireObject<db::DbError>(state.rsRules);
        for (const auto& title : kAccrualTitles) {
            if (beginsWith(rules.field(title.column), code)) {
                result = title.category;
                return;
            }
        }
        // Holidays have no title: they are known by the holiday pay type's name.
        if (beginsWith(requireObject<db::DbError>(state.rsExportDfn).field("HOSTD"), code)) {
            result = "HOLIDAY";
            return;
        }
        result = strCode;
    });
    return result;
}

}  // namespace vantrell
