#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interfacedb/access/AccessNames.h"
#include "interfacedb/access/JetText.h"

namespace vantrell::db::access {
namespace {

std::string unicode(const std::vector<unsigned char>& bytes) {
    return jetUnicodeToUtf8(bytes.data(), bytes.size());
}

TEST(JetUnicode, PlainAndCompressedTextBecomeUtf8) {
    struct Case {
        std::vector<unsigned char> bytes;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {{}, ""},
        {{0xFF, 0xFE}, ""},
        {{'A', 0, 0xE9, 0}, "A\xC3\xA9"},                              // "Aé" two bytes each
        {{0xFF, 0xFE, 'a', 'b', 0xE9}, "ab\xC3\xA9"},                  // compressed: one each
        {{0xFF, 0xFE, 'x', 0, 0x20, 0x5F, 0, 'y'}, "x\xE5\xBC\xA0y"},  // "x张y" switches twice
        {{0x3D, 0xD8, 0x00, 0xDE}, "\xF0\x9F\x98\x80"},                // a surrogate pair
        {{0x3D, 0xD8, 'a', 0},
         "\xEF\xBF\xBD"
         "a"},                                         // a lone high surrogate
        {{'a', 0, 'b'}, "a\xEF\xBF\xBD"},              // half a unit at the end
        {{0xFF, 0xFE, 'a', 0, 'b'}, "a\xEF\xBF\xBD"},  // the same, compressed
    };
    for (const auto& c : cases) {
        EXPECT_EQ(unicode(c.bytes), c.expected);
    }
}

TEST(JetCodePage, Jet3TextComesOutAsUtf8) {
    struct Case {
        unsigned codePage;
        std::string bytes;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {1252, "M\xE9xico D.F.", "M\xC3\xA9xico D.F."},
        {1252, "\x80 5", "\xE2\x82\xAC 5"},                     // the euro sign
        {936, "\xD5\xC5\xC8\xFD", "\xE5\xBC\xA0\xE4\xB8\x89"},  // "张三"
        {936, "a\x81", "a\xEF\xBF\xBD"},                        // a character cut short
        {1251, "\xC4\xE0", "\xD0\x94\xD0\xB0"},                 // "Да"
        {65000 + 999, "Caf\xE9", "Caf\xC3\xA9"},                // unknown: read as 1252
    };
    for (const auto& c : cases) {
        const CodePageText text(c.codePage);
        EXPECT_EQ(
            text.toUtf8(reinterpret_cast<const unsigned char*>(c.bytes.data()), c.bytes.size()),
            c.expected)
            << c.codePage;
    }
}

TEST(AccessNames, FoldingMatchesNamesAsAccessDoes) {
    const std::vector<std::pair<std::string, std::string>> same = {
        {"REPORTDATA", "reportdata"},
        {"Umsätze", "UMSÄTZE"},
        {"Таблица", "ТАБЛИЦА"},
        {"Ἀ Σ", "Ἀ σ"},
        {"Order Details", "order details"},
    };
    for (const auto& [a, b] : same) {
        EXPECT_EQ(foldCase(a), foldCase(b)) << a;
    }
    EXPECT_NE(foldCase("Umsatze"), foldCase("Umsätze"));
    EXPECT_EQ(foldCase("张三"), "张三");
    EXPECT_EQ(foldCase("\xC3"), "\xC3");  // a broken character is kept, not lost
}

}  // namespace
}  // namespace vantrell::db::access
