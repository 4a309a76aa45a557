#include "ChildProcess.h"

#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

namespace vantrell::testing {

namespace {

ChildEnd waitFor(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    if (WIFSIGNALED(status)) {
        return {true, WTERMSIG(status)};
    }
    return {false, WEXITSTATUS(status)};
}

// The child leaves with _exit: no test framework or sanitizer teardown runs twice.
[[noreturn]] void leave(int status) {
    _exit(status);
}

}  // namespace

ChildEnd runInChild(const std::function<void()>& body) {
    const pid_t pid = fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        try {
            body();
        } catch (...) {
            leave(70);
        }
        leave(0);
    }
    return waitFor(pid);
}

HoldingChild::HoldingChild(const std::function<void()>& take, const std::function<void()>& give) {
    int ready[2];
    int go[2];
    if (pipe(ready) != 0 || pipe(go) != 0) {
        throw std::runtime_error("pipe failed");
    }
    pid_ = fork();
    if (pid_ < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid_ == 0) {
        close(ready[0]);
        close(go[1]);
        char taken = 'y';
        try {
            take();
        } catch (...) {
            taken = 'n';
        }
        if (write(ready[1], &taken, 1) != 1) {
            leave(71);
        }
        char ignored = 0;
        while (read(go[0], &ignored, 1) < 0) {
        }
        try {
            if (give) {
                give();
            }
        } catch (...) {
            leave(72);
        }
        leave(0);
    }
    close(ready[1]);
    close(go[0]);
    toChild_ = go[1];
    char taken = 'n';
    while (read(ready[0], &taken, 1) < 0) {
    }
    close(ready[0]);
    holding_ = taken == 'y';
}

void HoldingChild::letGo() {
    if (!letGo_) {
        letGo_ = true;
        const char go = 'g';
        if (write(toChild_, &go, 1) != 1) {
            // The child has gone already; waiting tells how.
        }
        close(toChild_);
    }
}

ChildEnd HoldingChild::release() {
    if (!released_) {
        released_ = true;
        letGo();
        end_ = waitFor(pid_);
    }
    return end_;
}

HoldingChild::~HoldingChild() {
    release();
}

}  // namespace vantrell::testing
