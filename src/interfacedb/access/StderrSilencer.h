#pragma once

namespace vantrell::db::access {

// Sends the process's standard error to nowhere for its lifetime, so that the diagnostics
// libmdb prints on its own never reach the user; our errors carry what went wrong instead.
// Restores standard error when destroyed. Not for use from several threads at once.
class StderrSilencer {
  public:
    // Silences standard error. Never throws: when it cannot be silenced, it stays as it was.
    StderrSilencer();
    ~StderrSilencer();
    StderrSilencer(const StderrSilencer&) = delete;
    StderrSilencer& operator=(const StderrSilencer&) = delete;

  private:
    int saved_ = -1;  // a duplicate of the original standard error, or -1 when nothing changed
};

}  // namespace vantrell::db::access
