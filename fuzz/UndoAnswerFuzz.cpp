// readRequestAnswers over any answer, as the undo reads its TxnDelRs answers: it reads each
// answer element of the document, in document order, with exactly its attributes, or refuses a
// document that does not load. Nothing else may come out of it.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "diag/Failure.h"
#include "qblink/PostedTicketAnswer.h"
#include "qblink/StrictXmlLoader.h"
#include "qblink/XmlReading.h"

namespace vantrell::fuzzing {
namespace {

void check(std::string_view input) {
    const std::string text(input);
    std::vector<RequestAnswer> answers;
    try {
        answers = readRequestAnswers(text, "TxnDelRs");
    } catch (const Failure&) {
        pugi::xml_document document;
        if (!loadXmlStrict(document, text)) {
            violated("an answer that loads was refused", input);
        }
        return;
    }
    pugi::xml_document document;
    if (loadXmlStrict(document, text)) {
        violated("an answer that does not load was read", input);
    }
    const std::vector<pugi::xml_node> elements = elementsByTagName(document, "TxnDelRs");
    if (elements.size() != answers.size()) {
        violated("read " + std::to_string(answers.size()) + " answers of " +
                     std::to_string(elements.size()),
                 input);
    }
    for (std::size_t i = 0; i < answers.size(); ++i) {
        if (answers[i].requestId != elements[i].attribute("requestID").value() ||
            answers[i].statusCode != elements[i].attribute("statusCode").value() ||
            answers[i].statusMessage != elements[i].attribute("statusMessage").value()) {
            violated("answer " + std::to_string(i + 1) + " read with other attributes", input);
        }
    }
}

}  // namespace
}  // namespace vantrell::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vantrell::fuzzing::check(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
