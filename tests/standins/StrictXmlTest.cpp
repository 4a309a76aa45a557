#include <gtest/gtest.h>

#include "standins/StrictXml.h"

namespace vantrell::standins {
namespace {

TEST(StrictXml, RefusesWhatAConformingParserRefuses) {
    for (const char* text : {
             "",
             "   ",
             "Status OK",
             "<a>",
             "<a></b>",
             "<a/><b/>",
             "<a/>text",
             "text<a/>",
             "<a/><![CDATA[x]]>",
             "<a>&nbsp;</a>",
             "<a>&#1;</a>",
             "<a>&#xD800;</a>",
             "<a>& b</a>",
             "<a b='<'/>",
             "<a b='&unknown;'/>",
             "<a x='1' x='2'/>",
             " <?xml version='1.0'?><a/>",
             "<a/><?xml version='1.0'?>",
             "<a/><!DOCTYPE a>",
             "<!DOCTYPE a><!DOCTYPE a><a/>",
             "<!DOCTYPE a [<!ENTITY x 'y'>]><a>&x;</a>",
             "<a>\x01</a>",
             "<a>\xC3</a>",
             "<a>\xC0\xAF</a>",
             "<a><!-- open </a>",
         }) {
        pugi::xml_document document;
        EXPECT_FALSE(loadStrictXml(document, text).empty()) << '"' << text << '"';
    }
}

TEST(StrictXml, AcceptsWellFormedDocuments) {
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
        EXPECT_EQ(loadStrictXml(document, text), "") << text;
        EXPECT_TRUE(document.document_element());
    }
}

TEST(StrictXml, DeepNestingIsReadWithoutExhaustingTheStack) {
    const int depth = 200000;
    std::string text;
    for (int i = 0; i < depth; ++i) {
        text += "<a x='1'>";
    }
    for (int i = 0; i < depth; ++i) {
        text += "</a>";
    }
    pugi::xml_document document;
    EXPECT_EQ(loadStrictXml(document, text), "");
    text.insert(text.size() - 4, "<b y='1' y='2'/>");
    EXPECT_EQ(loadStrictXml(document, text), "repeated attribute y on b");
}

}  // namespace
}  // namespace vantrell::standins
