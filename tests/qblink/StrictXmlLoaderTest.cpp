#include <gtest/gtest.h>

#include <span>
#include <string>

#include "qblink/StrictXmlLoader.h"

namespace vantrell {
namespace {

// Texts that are not well-formed XML: both checks refuse them.
const char* const kNotWellFormed[] = {
    "",
    "   ",
    "Status OK",
    "<a>",
    "<a></b>",
    "<a/><b/>",
    "<a/>text",
    "<a/>x",
    "<a/>>",
    "<a/>>\n",
    "<a/> <!-- c --> x",
    "<a/>\n x \n",
    "text<a/>",
    " <?xml version='1.0'?><a/>",
    "<!-- c --><?xml version='1.0'?><a/>",
    "<!DOCTYPE a><?xml version='1.0'?><a/>",
    "<a/><?xml version='1.0'?>",
    "<a><?xml version='1.0'?></a>",
    "<a/><!DOCTYPE a>",
    "<!DOCTYPE a><!DOCTYPE a><a/>",
    "<!DOCTYPE a [<!ENTITY x 'y'>]><a>&x;</a>",
    "<!DOCTYPE a [<!ENTITY x 'y'>]><a/>",
    "<a/><![CDATA[x]]>",
    "<a>&#1;</a>",
    "<a>&#;</a>",
    "<a>&#xD800;</a>",
    "<a>\x01</a>",
    "<a>\xC3</a>",
    "<a>\xC0\xAF</a>",
    "<a><!-- open </a>",
};

// Texts that pugixml lets through but a conforming parser refuses.
const char* const kNotConforming[] = {
    "<a>&nbsp;</a>",      "<a>& b</a>",       "<a b='<'/>",
    "<a b='&unknown;'/>", "<a x='1' x='2'/>", "<a>\xEF\xBF\xBE</a>",
};

TEST(StrictXmlLoader, ConformingRefusesWhatAConformingParserRefuses) {
    for (const std::span<const char* const> texts :
         {std::span<const char* const>(kNotWellFormed),
          std::span<const char* const>(kNotConforming)}) {
        for (const char* text : texts) {
            pugi::xml_document document;
            EXPECT_TRUE(loadXmlStrict(document, text, XmlChecks::Conforming)) << '"' << text << '"';
        }
    }
}

TEST(StrictXmlLoader, ConformingAcceptsWellFormedDocuments) {
    for (const char* text : {
             "<a/>",
             "\xEF\xBB\xBF<?xml version=\"1.0\" ?>\n<a/>\n",
             "<a>&amp;&lt;&gt;&quot;&apos;&#233;&#x263A;</a>",
             "<!DOCTYPE QBXML PUBLIC 'x' 'http://host/?a=1&b=[2]'><QBXML/>",
             "<a><![CDATA[&x<y]]></a>",
             "<?xml-stylesheet href='s.css'?><a b=\"it's\" c='say \"hi\"'/>",
             "<a>Zoë 山田 ☺</a><!-- trailing -->\n",
         }) {
        pugi::xml_document document;
        EXPECT_EQ(loadXmlStrict(document, text, XmlChecks::Conforming), std::nullopt) << text;
        EXPECT_TRUE(document.document_element());
    }
}

TEST(StrictXmlLoader, ConformingReadsDeepNestingWithoutExhaustingTheStack) {
    const int depth = 200000;
    std::string text;
    for (int i = 0; i < depth; ++i) {
        text += "<a x='1'>";
    }
    for (int i = 0; i < depth; ++i) {
        text += "</a>";
    }
    pugi::xml_document document;
    EXPECT_EQ(loadXmlStrict(document, text, XmlChecks::Conforming), std::nullopt);
    text.insert(text.size() - 4, "<b y='1' y='2'/>");
    EXPECT_EQ(loadXmlStrict(document, text, XmlChecks::Conforming), "repeated attribute y on b");
}

TEST(StrictXmlLoader, BothChecksRefuseWhatIsNotWellFormed) {
    for (const char* text : kNotWellFormed) {
        pugi::xml_document document;
        EXPECT_TRUE(loadXmlStrict(document, text)) << '"' << text << '"';
        std::string inPlace = text;
        EXPECT_EQ(loadXmlStrictInPlace(document, inPlace), loadXmlStrict(document, text))
            << '"' << text << '"';
        EXPECT_TRUE(loadXmlStrict(document, text, XmlChecks::Conforming)) << '"' << text << '"';
    }
}

TEST(StrictXmlLoader, OnlyConformingRefusesWhatPugixmlLetsThrough) {
    for (const char* text : kNotConforming) {
        pugi::xml_document document;
        EXPECT_EQ(loadXmlStrict(document, text), std::nullopt) << text;
        EXPECT_TRUE(loadXmlStrict(document, text, XmlChecks::Conforming)) << '"' << text << '"';
    }
}

// The text is UTF-8, whatever a declaration names: another encoding is believed only where it
// reads alike, so that a name is never read in a second encoding.
TEST(StrictXmlLoader, WellFormedReadsUtf8AndRefusesADeclarationThatSaysOtherwise) {
    for (const char* text : {
             "<?xml version='1.0' encoding='ISO-8859-1'?><a>Zo\xC3\xAB</a>",
             "<?xml version=\"1.0\" encoding = \"windows-1252\" ?><a>Zo\xC3\xAB</a>",
             "<?xml version='1.0' encoding='UTF-16'?><a/>",
         }) {
        pugi::xml_document document;
        EXPECT_TRUE(loadXmlStrict(document, text)) << text;
        std::string inPlace = text;
        EXPECT_TRUE(loadXmlStrictInPlace(document, inPlace)) << text;
    }
    for (const char* text : {
             "<?xml version='1.0' encoding='utf-8'?><a>Zo\xC3\xAB</a>",
             "\xEF\xBB\xBF<?xml version='1.0' encoding='UTF-8'?><a>Zo\xC3\xAB</a>",
             "\xEF\xBB\xBF<a>Zo\xC3\xAB</a>",
             "<?xml version='1.0' encoding='ISO-8859-1'?><a>Zoe</a>",
         }) {
        pugi::xml_document document;
        EXPECT_EQ(loadXmlStrict(document, text), std::nullopt) << text;
        const std::string name = document.document_element().value();
        EXPECT_TRUE(name == "Zo\xC3\xAB" || name == "Zoe") << text;
        // Only the root is a node of the document.
        EXPECT_EQ(document.first_child(), document.document_element()) << text;
        EXPECT_EQ(document.last_child(), document.document_element()) << text;
    }
}

TEST(StrictXmlLoader, WellFormedGivesTheReasonWithItsOffset) {
    pugi::xml_document document;
    EXPECT_EQ(loadXmlStrict(document, "<a/><b/>"),
              "Only one top level element is allowed in an XML document at offset 5");
    EXPECT_EQ(loadXmlStrict(document, "<a>&#1;</a>"),
              "An invalid character was found in text content at offset 3");
    EXPECT_EQ(refusedXmlText("<a>\xC3</a>"), "The text is not UTF-8 at offset 3");
    EXPECT_EQ(refusedXmlText("<a>&#233;</a>"), std::nullopt);
    EXPECT_EQ(loadXmlStrict(document, "<a/> x"), "Text after the root element at offset 5");
    std::string inPlace = "<a/>x";
    EXPECT_EQ(loadXmlStrictInPlace(document, inPlace), "Text after the root element at offset 4");
    EXPECT_EQ(loadXmlStrict(document, "<!DOCTYPE a [<!ENTITY x 'y'>]><a>&x;</a>"),
              "document type declaration with an internal subset");
}

// A forbidden character, or a reference to one, at every offset of text runs of every length
// around the eight bytes the scan passes at a time; what XML allows passes wherever it lies.
TEST(StrictXmlLoader, WellFormedFindsAForbiddenCharacterWhereverItLies) {
    for (std::size_t before = 0; before < 20; ++before) {
        for (std::size_t after = 0; after < 10; ++after) {
            const std::string head = "<a>" + std::string(before, 'x');
            const std::string tail = std::string(after, 'y') + "</a>";
            const std::string at = " at offset " + std::to_string(head.size());
            for (const std::string& bad : {std::string("\x01"), std::string(1, '\0'),
                                           std::string("\x1f"), std::string("&#0;")}) {
                EXPECT_EQ(refusedXmlText(head + bad + tail),
                          "An invalid character was found in text content" + at)
                    << before << ' ' << after;
            }
            for (const char* good : {"\t", "\n", "\r", "&amp;", "&#9;", "\xc3\xa9", " "}) {
                EXPECT_EQ(refusedXmlText(head + good + tail), std::nullopt)
                    << before << ' ' << after;
            }
        }
    }
}

// Tabs, line ends and references XML allows, as many as eight bytes hold, do not hide a
// forbidden character among or right after them; the first forbidden one is the one named.
TEST(StrictXmlLoader, WellFormedFindsAForbiddenCharacterAmongAllowedOnes) {
    for (std::size_t before = 0; before < 12; ++before) {
        for (const std::string& allowed : {std::string("\n"), std::string("\t\r"),
                                           std::string("&amp;"), std::string("\n&#10;")}) {
            std::string head = "<a>";
            for (std::size_t i = 0; i < before; ++i) {
                head += allowed;
            }
            const std::string at = " at offset " + std::to_string(head.size());
            for (const std::string& bad :
                 {std::string("\x01\n\x02"), std::string("&#0;\x03"), std::string("\x1f&#1;")}) {
                EXPECT_EQ(refusedXmlText(head + bad + allowed + "</a>"),
                          "An invalid character was found in text content" + at)
                    << before << ' ' << allowed;
            }
            EXPECT_EQ(refusedXmlText(head + allowed + "</a>"), std::nullopt) << before;
        }
    }
}

}  // namespace
}  // namespace vantrell
