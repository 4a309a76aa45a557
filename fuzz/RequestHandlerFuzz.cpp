// The simulated accounting system's request handling over any request document, each input on
// a fresh copy of one small company file. It either refuses the message with a ProcessorError
// or answers with a well-formed response document.
#include <fstream>
#include <string>

#include <pugixml.hpp>

#include "FuzzSupport.h"
#include "qblink/StrictXmlLoader.h"
#include "standins/CompanyFile.h"
#include "standins/ProcessorError.h"
#include "standins/RequestHandler.h"

namespace vantrell::fuzzing {
namespace {

constexpr std::int64_t kNow = 1772460000;  // 2026-03-02

class Harness {
  public:
    Harness() {
        standins::CompanyFile::create(template_, kNow);
        {
            standins::CompanyFile file(template_);
            file.addNames(standins::ListKind::Employee,
                          {"Worker One", "O'Brien & <Sons>", "Zoë Ångström"}, kNow);
            file.addNames(standins::ListKind::WageItem, {"Hourly", "Overtime", "Sick \"paid\""},
                          kNow);
            file.setInactive({"Overtime"}, kNow);
        }
        templateBytes_ = readWholeFile(template_);
    }

    void run(std::string_view request) {
        // Written from memory: copy_file gives up when the fuzzer's timer interrupts it.
        std::ofstream(work_, std::ios::binary | std::ios::trunc) << templateBytes_;
        std::string response;
        try {
            standins::CompanyFile file(work_);
            response = standins::RequestHandler(file, [] { return kNow; }).handle(request);
        } catch (const standins::ProcessorError&) {
            return;
        } catch (const std::exception& e) {
            violated(std::string("the handler threw something else: ") + e.what(), request);
        }
        pugi::xml_document document;
        if (const auto problem = loadXmlStrict(document, response, XmlChecks::Conforming)) {
            violated("the response is not well-formed (" + *problem + "): " + response, request);
        }
    }

  private:
    std::filesystem::path template_ = scratchFolder() / "Template.qbw";
    std::filesystem::path work_ = scratchFolder() / "Company.qbw";
    std::string templateBytes_;
};

}  // namespace
}  // namespace vantrell::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static vantrell::fuzzing::Harness harness;
    harness.run(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
