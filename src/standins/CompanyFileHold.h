#pragma once

#include <filesystem>

namespace vantrell::standins {

// A session's hold on a company file, as the accounting system keeps one: a lock on the file
// "<company file>.lock" beside it, exclusive for a single-user session and shared for a
// multi-user one, held for the hold's life. The platform drops it when the process ends,
// however it ends, so a killed program never leaves the company file held; and it is a lock of
// the open file, so two sessions of one process exclude each other as two processes do.
class CompanyFileHold {
  public:
    enum class Mode { SingleUser, MultiUser };
    enum class Outcome {
        Held,            // this session holds the file in the mode asked for
        HeldSingleUser,  // another session holds it in single-user mode
        HeldMultiUser,   // others share it in multi-user mode (asked: single-user)
        Unavailable      // the lock file cannot be made or locked
    };

    // Tries once, without waiting, to hold `companyFile` in `mode`; outcome() says how it went.
    // Never throws.
    CompanyFileHold(const std::filesystem::path& companyFile, Mode mode);
    ~CompanyFileHold();
    CompanyFileHold(const CompanyFileHold&) = delete;
    CompanyFileHold& operator=(const CompanyFileHold&) = delete;

    Outcome outcome() const { return outcome_; }

  private:
    Outcome outcome_ = Outcome::Unavailable;
    void* handle_ = nullptr;  // Windows file handle
    int descriptor_ = -1;     // POSIX file descriptor
};

}  // namespace vantrell::standins
