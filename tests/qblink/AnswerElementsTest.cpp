#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qblink/AnswerElements.h"
#include "qblink/StrictXmlLoader.h"
#include "qblink/XmlReading.h"

namespace vantrell {
namespace {

using Strings = std::vector<std::string>;

// An element as the walk sees it: its attributes and its text.
std::string described(const pugi::xml_node& element) {
    std::string text = element.name();
    for (const pugi::xml_attribute& attribute : element.attributes()) {
        text += std::string(" ") + attribute.name() + "=" + attribute.value();
    }
    return text + " [" + elementText(element) + "]";
}

// What the whole-document loader finds, or its refusal.
Strings wholeDocument(const std::string& text, const char* tag) {
    pugi::xml_document document;
    if (const auto failure = loadXmlStrict(document, text)) {
        return {"refused: " + *failure};
    }
    Strings found;
    for (const pugi::xml_node& element : elementsByTagName(document, tag)) {
        found.push_back(described(element));
    }
    return found;
}

// What AnswerElements finds, surveyed and visited, or its refusal.
Strings pieceByPiece(const std::string& text, const char* tag) {
    AnswerElements elements;
    Strings surveyed;
    const auto survey = [&](const pugi::xml_node& element) {
        surveyed.push_back(described(element));
        return true;
    };
    if (const auto failure = elements.load(text, tag, survey, [&] { surveyed.clear(); })) {
        return {"refused: " + *failure};
    }
    Strings visited;
    elements.forEach([&](const pugi::xml_node& element) {
        visited.push_back(described(element));
        return true;
    });
    EXPECT_EQ(surveyed, visited);
    EXPECT_EQ(elements.size(), visited.size());
    return visited;
}

std::string answer(const std::string& body) {
    return "<?xml version=\"1.0\" ?>\n<QBXML>\n<QBXMLMsgsRs>\n" + body +
           "</QBXMLMsgsRs>\n</QBXML>\n";
}

const char* const kTag = "TimeTrackingAddRs";

TEST(AnswerElements, FindWhatTheWholeDocumentHoldsWhateverSurroundsThem) {
    const Strings answers = {
        answer("<TimeTrackingAddRs requestID=\"1\" statusCode=\"0\"><TimeTrackingRet><TxnID>A-1"
               "</TxnID></TimeTrackingRet></TimeTrackingAddRs>\n"
               "<TimeTrackingAddRs requestID=\"2\" statusCode=\"3140\" statusMessage=\"a &lt; b "
               "&amp; c\"/>\n"),
        // Markup that only looks like the tag: in comments, CDATA, instructions and values.
        answer("<!-- <TimeTrackingAddRs requestID=\"9\"> -->"
               "<Other note=\"<TimeTrackingAddRs/>\" other='>'><![CDATA[<TimeTrackingAddRs>]]>"
               "</Other><?pi <TimeTrackingAddRs> ?>"
               "<TimeTrackingAddRs requestID=\"3\" statusMessage=\"x/>y\">t<!--c-->u"
               "<![CDATA[<v>]]></TimeTrackingAddRs>"),
        // Nested elements of the tag, and the tag deeper in the document.
        answer("<TimeTrackingAddRs requestID=\"4\"><TimeTrackingAddRs requestID=\"5\">"
               "<TimeTrackingAddRs requestID=\"6\"/></TimeTrackingAddRs></TimeTrackingAddRs>"
               "<Deeper><TimeTrackingAddRs requestID=\"7\"><Inner/></TimeTrackingAddRs></Deeper>"),
        // A document type declaration, its literals holding what looks like markup.
        "<?xml version=\"1.0\" ?><!DOCTYPE QBXML PUBLIC '-//x//EN' 'a>[<TimeTrackingAddRs>'>" +
            answer("<TimeTrackingAddRs requestID=\"10\"/>").substr(22),
        // One with an internal subset, which the scan leaves to the whole document.
        "<?xml version=\"1.0\" ?><!DOCTYPE QBXML [<!ENTITY e 'x'>]>" +
            answer("<TimeTrackingAddRs requestID=\"11\"/>").substr(22),
        // Quotes of one kind inside values of the other, with what ends a tag or a name.
        answer("<Other a='x\">y' b=\"'[/>\"\n><TimeTrackingAddRs requestID='1\"/>'\r"
               "statusCode=\"0'>\"/></Other><TimeTrackingAddRs\nrequestID=\"2\"></"
               "TimeTrackingAddRs\t>"),
        // Names that only begin like the tag, and none of the tag at all.
        answer("<TimeTrackingAddRsX requestID=\"8\"/><TimeTrackingAddRs\trequestID=\"9\"\n/>"),
        answer("<Nothing/>"),
        // The tag as the root.
        "<TimeTrackingAddRs requestID=\"10\"><TimeTrackingAddRs requestID=\"11\"/>"
        "</TimeTrackingAddRs>",
    };
    for (const std::string& text : answers) {
        EXPECT_EQ(pieceByPiece(text, kTag), wholeDocument(text, kTag)) << text;
    }
}

TEST(AnswerElements, RefuseWhatTheStrictLoaderRefusesWithItsReason) {
    const std::string good = "<TimeTrackingAddRs requestID=\"1\"/>";
    const Strings answers = {
        "",
        answer(good + "<TimeTrackingAddRs requestID=\"2\">"),                    // unclosed
        answer(good + "<TimeTrackingAddRs requestID=\"2></TimeTrackingAddRs>"),  // open quote
        answer(good + "<TimeTrackingAddRs requestID='2></TimeTrackingAddRs>"),   // open quote
        answer(good + "<!ELEMENT x>"),                                           // not followed
        answer(good + "<"),
        answer(good + "<TimeTrackingAddRs><a></b></TimeTrackingAddRs>"),  // mismatched
        answer(good) + "<TimeTrackingAddRs/>",                            // a second root
        answer(good) + "trailing text",
        answer(good + "<!-- unfinished"),
        answer(good + "<!DOCTYPE x>"),
        answer(good + "<TimeTrackingAddRs requestID=\"\xff\"/>"),  // not UTF-8
        answer(good + "<TimeTrackingAddRs requestID=\"&#0;\"/>"),  // forbidden
        "<QBXML><TimeTrackingAddRs/></QBXML></QBXML>",
    };
    for (const std::string& text : answers) {
        const Strings whole = wholeDocument(text, kTag);
        ASSERT_EQ(whole.size(), 1u) << text;
        ASSERT_EQ(whole.front().rfind("refused: ", 0), 0u) << text;
        EXPECT_EQ(pieceByPiece(text, kTag), whole) << text;
    }
}

TEST(AnswerElements, AWalkEndsWhenAVisitSaysSo) {
    AnswerElements elements;
    const std::string text =
        answer("<TimeTrackingAddRs requestID=\"1\"/><TimeTrackingAddRs requestID=\"2\"/>");
    ASSERT_FALSE(elements.load(
        text, kTag, [](const pugi::xml_node&) { return true; }, [] {}));
    int visits = 0;
    elements.forEach([&](const pugi::xml_node&) { return ++visits < 1; });
    EXPECT_EQ(visits, 1);
}

// The outermost walk finds answers wherever they lie, but not an answer inside another.
TEST(XmlReading, OutermostElementsLeaveOutThoseInsideAMatch) {
    pugi::xml_document document;
    ASSERT_EQ(loadXmlStrict(document,
                            "<QBXML><Rs n='1'><Ret><Rs n='inner'/></Ret></Rs>"
                            "<wrapper><Rs n='2'/></wrapper><Rs n='3'><Rs n='inner'/></Rs></QBXML>"),
              std::nullopt);
    Strings outermost;
    for (const pugi::xml_node& element : outermostElementsByTagName(document, "Rs")) {
        outermost.push_back(element.attribute("n").value());
    }
    EXPECT_EQ(outermost, (Strings{"1", "2", "3"}));
    EXPECT_EQ(elementsByTagName(document, "Rs").size(), 5u);
    EXPECT_TRUE(outermostElementsByTagName(document, "Other").empty());
}

}  // namespace
}  // namespace vantrell
