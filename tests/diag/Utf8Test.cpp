#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "diag/Utf8.h"

namespace vantrell {
namespace {

// A bad byte, or a good character, at every offset of ASCII runs of every length around the
// eight bytes the scan takes at a time.
TEST(Utf8, TheFirstInvalidByteIsFoundWhereverTheAsciiRunsEnd) {
    for (std::size_t before = 0; before < 20; ++before) {
        for (std::size_t after = 0; after < 10; ++after) {
            const std::string ascii(before, 'a');
            const std::string tail(after, 'b');
            EXPECT_EQ(firstInvalidUtf8(ascii + "\xff" + tail), before);
            EXPECT_EQ(firstInvalidUtf8(ascii + "\xc3\xa9" + tail), std::nullopt);
            EXPECT_EQ(firstInvalidUtf8(ascii + "\xc3" + tail), before);  // cut short
            EXPECT_EQ(firstInvalidUtf8(ascii + "\xc3\xa9\xed\xa0\x80" + tail),
                      before + 2);  // a surrogate
        }
    }
    EXPECT_EQ(firstInvalidUtf8(""), std::nullopt);
    EXPECT_EQ(firstInvalidUtf8("\xc0\xaf"), 0u);  // overlong
}

TEST(Utf8, XmlTextHoldsOnlyTheCharactersXmlAllows) {
    EXPECT_TRUE(isXmlText("plain\ttext\r\n with \xc3\xa9 and \xf0\x9f\x98\x80"));
    EXPECT_FALSE(isXmlText(std::string("nul\0here", 8)));
    EXPECT_FALSE(isXmlText("bell\x07"));
    EXPECT_FALSE(isXmlText("\xef\xbf\xbe"));  // U+FFFE
    EXPECT_FALSE(isXmlText("\xff"));
}

TEST(Utf8, FirstCharactersNeverSplitsACharacter) {
    EXPECT_EQ(firstCharacters("\xc3\xa9t\xc3\xa9", 2), "\xc3\xa9t");
    EXPECT_EQ(firstCharacters("short", 10), "short");
    EXPECT_EQ(firstCharacters("abc", 0), "");
    // Text that is not UTF-8 is cut by bytes.
    EXPECT_EQ(firstCharacters("ab\xff", 2), "ab");
    EXPECT_EQ(characterCount("\xc3\xa9t\xc3\xa9"), 3u);
    EXPECT_EQ(characterCount("a\xff"), 2u);
    EXPECT_EQ(asciiLower("Ann O'NEIL \xc3\x89"), "ann o'neil \xc3\x89");
}

// Names the accounting system takes for the same compare and hash alike; only ASCII letters
// fold.
TEST(Utf8, CaselessComparisonFoldsOnlyAsciiLetters) {
    const std::pair<const char*, const char*> same[] = {
        {"Ann O'Neil", "ANN O'NEIL"}, {"", ""}, {"Z\xc3\xa9 9", "z\xc3\xa9 9"}};
    for (const auto& [a, b] : same) {
        EXPECT_TRUE(equalsIgnoringAsciiCase(a, b)) << a;
        EXPECT_EQ(asciiCaselessHash(a), asciiCaselessHash(b)) << a;
    }
    const std::pair<const char*, const char*> different[] = {
        {"\xc3\xa9", "\xc3\x89"},  // é and É
        {"Ann", "Anne"},
        {"[", "{"},  // 32 apart as a capital and its small letter are, but no letters
        {"@", "`"}};
    for (const auto& [a, b] : different) {
        EXPECT_FALSE(equalsIgnoringAsciiCase(a, b)) << a;
    }
}

}  // namespace
}  // namespace vantrell
