#include "qblink/NameHints.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <tuple>

#include "diag/Utf8.h"

namespace vantrell::hints {

namespace {

constexpr std::size_t kMostCloseNames = 3;

// Calls `onCodePoint(c)` for each character of `text` and `onByte(b)` for each byte that is
// not part of well-formed UTF-8.
template <class OnCodePoint, class OnByte>
void walk(std::string_view text, OnCodePoint&& onCodePoint, OnByte&& onByte) {
    for (std::size_t pos = 0; pos < text.size();) {
        if (const auto c = nextCodePoint(text, pos)) {
            onCodePoint(*c);
        } else {
            onByte(text[pos++]);
        }
    }
}

char32_t lowerCodePoint(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
        (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F)) {
        return c + 0x20;
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50;
    }
    if (c == 0x130) {
        return 'i';
    }
    if (c == 0x178) {
        return 0xFF;
    }
    if (c == 0x3C2) {  // the final sigma is a sigma
        return 0x3C3;
    }
    const bool evenCapital =
        (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177) || (c >= 0x218 && c <= 0x21B);
    const bool oddCapital = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if ((evenCapital && c % 2 == 0) || (oddCapital && c % 2 == 1)) {
        return c + 1;
    }
    return c;
}

// The unaccented small letters of U+00C0 to U+017F; nullptr for the two signs among them.
constexpr std::array<const char*, 0x180 - 0xC0> kLatinBase = {
    // U+00C0
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",  //
    "d", "n", "o", "o", "o", "o", "o", nullptr, "o", "u", "u", "u", "u", "y", "th", "ss", "a", "a",
    "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",  //
    "d", "n", "o", "o", "o", "o", "o", nullptr, "o", "u", "u", "u", "u", "y", "th", "y",
    // U+0100
    "a", "a", "a", "a", "a", "a", "c", "c", "c", "c", "c", "c", "c", "c", "d", "d",  //
    "d", "d", "e", "e", "e", "e", "e", "e", "e", "e", "e", "e", "g", "g", "g", "g",  //
    "g", "g", "g", "g", "h", "h", "h", "h", "i", "i", "i", "i", "i", "i", "i", "i",  //
    "i", "i", "ij", "ij", "j", "j", "k", "k", "k", "l", "l", "l", "l", "l", "l", "l", "l", "l", "l",
    "n", "n", "n", "n", "n", "n", "n", "n", "n", "o", "o", "o", "o",  //
    "o", "o", "oe", "oe", "r", "r", "r", "r", "r", "r", "s", "s", "s", "s", "s", "s", "s", "s", "t",
    "t", "t", "t", "t", "t", "u", "u", "u", "u", "u", "u", "u", "u",  //
    "u", "u", "u", "u", "w", "w", "y", "y", "y", "z", "z", "z", "z", "z", "z", "s"};

bool isApostrophe(char32_t c) {
    return c == 0x2019 || c == 0x2018 || c == 0x02BC || c == 0x0060 || c == 0x00B4;
}

bool isSpace(char32_t c) {
    return c == ' ' || (c >= 0x09 && c <= 0x0D) || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

bool isCombiningMark(char32_t c) {
    return c >= 0x300 && c <= 0x36F;
}

// A letter of a folded word: Latin letters are small ASCII by then; signs, digits and
// punctuation are not letters.
bool isLetter(char32_t c) {
    return (c >= 'a' && c <= 'z') ||
           (c >= 0xC0 && c != 0xD7 && c != 0xF7 && !(c >= 0x2000 && c <= 0x2BFF) &&
            !(c >= 0x3000 && c <= 0x303F) && !(c >= 0xDC00 && c <= 0xDFFF));
}

std::u32string codePoints(std::string_view text) {
    std::u32string out;
    // A byte that is not UTF-8 stands for itself, apart from every character.
    walk(
        text, [&](char32_t c) { out += c; },
        [&](char b) { out += static_cast<char32_t>(0xDC00 + static_cast<unsigned char>(b)); });
    return out;
}

// One letter of a folded word, with or without a period: "j", "j.", "ł.".
bool isInitial(const std::string& word) {
    const std::u32string c = codePoints(word);
    return (c.size() == 1 || (c.size() == 2 && c[1] == '.')) && isLetter(c[0]);
}

std::vector<std::string> foldedWords(std::string_view name) {
    std::vector<std::string> words(1);
    const auto endWord = [&] {
        if (!words.back().empty()) {
            words.emplace_back();
        }
    };
    walk(
        name,
        [&](char32_t c) {
            if (isSpace(c) || c == ',') {
                endWord();
            } else if (isApostrophe(c)) {
                words.back() += '\'';
            } else if (isCombiningMark(c)) {
                // An accent written apart from its letter folds away as one written with it.
            } else if (c >= 0xC0 && c < 0x180 && kLatinBase[c - 0xC0] != nullptr) {
                words.back() += kLatinBase[c - 0xC0];
            } else if (c >= 0x218 && c <= 0x21B) {
                words.back() += c < 0x21A ? 's' : 't';
            } else {
                appendUtf8(words.back(), lowerCodePoint(c));
            }
        },
        [&](char b) { words.back() += b; });
    if (words.back().empty()) {
        words.pop_back();
    }
    return words;
}

// Character insertions, deletions and substitutions that turn `a` into `b`.
std::size_t editDistance(const std::u32string& a, const std::u32string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] =
                std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0U : 1U)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::string namesText(const std::vector<const HeldName*>& names) {
    std::string text;
    for (const HeldName* held : names) {
        text += (text.empty() ? "" : ", ") + held->name + (held->active ? "" : " (inactive)");
    }
    return text;
}

std::optional<std::string> closeNamesLine(const NameIndex& index, std::string_view missing) {
    const std::vector<const HeldName*> close = index.closeNames(missing);
    if (close.empty()) {
        return std::nullopt;
    }
    return std::string(close.size() == 1 ? "QuickBooks has a close name: "
                                         : "QuickBooks has close names: ") +
           namesText(close);
}

}  // namespace

std::string caseFolded(std::string_view name) {
    std::string out;
    walk(
        name, [&](char32_t c) { appendUtf8(out, lowerCodePoint(c)); }, [&](char b) { out += b; });
    return out;
}

std::string closeKey(std::string_view name) {
    std::vector<std::string> words = foldedWords(name);
    // "Tomasz J. Kowalczyk" is "Tomasz Kowalczyk"; a name of initials alone keeps them.
    std::vector<std::string> kept;
    for (const std::string& word : words) {
        if (!isInitial(word)) {
            kept.push_back(word);
        }
    }
    if (kept.size() >= 2) {
        words = std::move(kept);
    }
    std::sort(words.begin(), words.end());
    std::string key;
    for (const std::string& word : words) {
        key += (key.empty() ? "" : " ") + word;
    }
    return key;
}

NameIndex::NameIndex(const std::vector<HeldName>& held) : held_(held) {
    for (std::size_t i = 0; i < held.size(); ++i) {
        byCase_.emplace(caseFolded(held[i].name), i);
        std::string key = closeKey(held[i].name);
        if (!key.empty()) {
            byKey_.emplace(std::move(key), i);
        }
    }
}

const HeldName* NameIndex::sameName(std::string_view name) const {
    const auto found = byCase_.find(caseFolded(name));
    return found == byCase_.end() ? nullptr : &held_[found->second];
}

std::vector<const HeldName*> NameIndex::closeNames(std::string_view name) const {
    const std::string key = closeKey(name);
    if (key.empty()) {
        return {};
    }
    const std::u32string wanted = codePoints(name);
    std::vector<std::tuple<std::size_t, std::string_view, const HeldName*>> found;
    const auto [first, last] = byKey_.equal_range(key);
    for (auto at = first; at != last; ++at) {
        const HeldName& held = held_[at->second];
        if (held.name != name) {
            found.emplace_back(editDistance(wanted, codePoints(held.name)), held.name, &held);
        }
    }
    std::sort(found.begin(), found.end());
    std::vector<const HeldName*> closest;
    for (std::size_t i = 0; i < found.size() && i < kMostCloseNames; ++i) {
        closest.push_back(std::get<2>(found[i]));
    }
    return closest;
}

HintFinder::HintFinder(const HeldLists& lists)
    : employees_(lists.employees),
      wageItems_(lists.wageItems),
      otherPayrollItems_(lists.otherPayrollItems) {}

std::optional<std::string> HintFinder::employeeHint(std::string_view missing) const {
    if (const HeldName* same = employees_.sameName(missing); same && !same->active) {
        return "QuickBooks has this employee, but inactive.";
    }
    return closeNamesLine(employees_, missing);
}

std::optional<std::string> HintFinder::payTypeHint(std::string_view missing) const {
    if (const HeldName* same = wageItems_.sameName(missing); same && !same->active) {
        return "QuickBooks has this wage item, but inactive.";
    }
    // Time can be posted only under a wage item; a deduction or addition of the same name is
    // the likeliest reason the name was not found.
    if (otherPayrollItems_.sameName(missing)) {
        return "QuickBooks has a payroll item of this name that is not a wage item.";
    }
    return closeNamesLine(wageItems_, missing);
}

}  // namespace vantrell::hints
