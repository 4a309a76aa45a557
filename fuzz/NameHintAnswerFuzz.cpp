// readHeldLists over any answer, and the hints found in what it read for staged names that the
// answer may or may not hold: it reads the answer or refuses it with Failure, a hint found is
// never empty, and nothing crashes, however many or odd the names.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "diag/Failure.h"
#include "qblink/NameHintAnswer.h"
#include "qblink/NameHints.h"

namespace vantrell::fuzzing {
namespace {

// Staged names next to the usual ones: case, accents, initials, word order, empty, odd bytes.
const std::vector<std::string> kStaged = {"Worker One",
                                          "worker  one",
                                          "One, Worker",
                                          "Zo\xC3\xAB \xC3\x85ngstr\xC3\xB6m",
                                          "O'Brien",
                                          "O\xE2\x80\x99"
                                          "Brien",
                                          "Ann B. Lee",
                                          "",
                                          " ",
                                          "Hourly",
                                          "Overtime",
                                          "Sick Pay",
                                          "\xFF\xFE"};

void checkHint(const std::optional<std::string>& hint, std::string_view input) {
    if (hint && hint->empty()) {
        violated("an empty hint", input);
    }
}

void check(std::string_view input) {
    std::string problems;
    hints::HeldLists lists;
    try {
        lists = readHeldLists(std::string(input), problems);
    } catch (const Failure&) {
        return;
    }
    const hints::HintFinder finder(lists);
    for (const std::string& name : kStaged) {
        checkHint(finder.employeeHint(name), input);
        checkHint(finder.payTypeHint(name), input);
    }
    // The names the answer holds, looked up as staged names.
    for (const auto* list : {&lists.employees, &lists.wageItems, &lists.otherPayrollItems}) {
        for (std::size_t i = 0; i < list->size() && i < 50; ++i) {
            checkHint(finder.employeeHint((*list)[i].name + " x"), input);
            checkHint(finder.payTypeHint((*list)[i].name), input);
        }
    }
}

}  // namespace
}  // namespace vantrell::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vantrell::fuzzing::check(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
