#include <exception>

#include "diag/Failure.h"

namespace vantrell {

std::string currentFailureDescription() {
    const std::exception_ptr current = std::current_exception();
    if (!current) {
        return {};
    }
    try {
        std::rethrow_exception(current);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown failure";
    }
}

}  // namespace vantrell
