#include "ExportRun.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace vantrell::bench {

namespace {

double seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

std::string firstLines(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::ostringstream text;
    std::string line;
    for (int i = 0; i < 5 && std::getline(in, line); ++i) {
        text << "\n  " << line;
    }
    return text.str();
}

// The environment of this process, with the settings store moved into `config` so that the
// run never reads or writes the user's own settings.
std::vector<std::string> childEnvironment(const std::filesystem::path& config) {
    std::vector<std::string> variables;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (std::strncmp(*variable, "XDG_CONFIG_HOME=", 16) != 0 &&
            std::strncmp(*variable, "VANTRELL_DATA_DIR=", 18) != 0) {
            variables.emplace_back(*variable);
        }
    }
    variables.push_back("XDG_CONFIG_HOME=" + config.string());
    return variables;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> result;
    for (auto& text : texts) {
        result.push_back(text.data());
    }
    result.push_back(nullptr);
    return result;
}

}  // namespace

Sample runWholeExport(const std::filesystem::path& cli, const std::filesystem::path& chronelFile,
                      const std::filesystem::path& companyFile,
                      const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder / "config");
    const auto out = folder / "stdout.txt";
    const auto err = folder / "stderr.txt";
    std::vector<std::string> args{
        cli.string(),         "--data-dir", folder.string(),      "--chronel",
        chronelFile.string(), "--company",  companyFile.string(), "--export"};
    std::vector<std::string> environment = childEnvironment(folder / "config");
    auto argv = pointers(args);
    auto envp = pointers(environment);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);

    // A child started by posix_spawn shares this process's memory until it runs its program,
    // and the kernel counts this process's high-water mark, hundreds of MiB after the phases,
    // into the child's peak. So the run is started by a launcher, this program started anew
    // (small), whose own child is the run: its peak is the run's alone.
    const auto result = folder / "measured.txt";
    std::vector<std::string> launcher{"/proc/self/exe", kMeasureChild, result.string()};
    launcher.insert(launcher.end(), args.begin(), args.end());
    auto launcherArgv = pointers(launcher);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, launcherArgv[0], &actions, nullptr, launcherArgv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        throw std::runtime_error("cannot start " + cli.string() + ": " + std::strerror(spawned));
    }
    int launched = 0;
    while (waitpid(child, &launched, 0) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error(std::string("lost the export run: ") + std::strerror(errno));
        }
    }
    const auto end = std::chrono::steady_clock::now();
    int status = -1;
    double cpuSeconds = 0;
    std::uint64_t peakKiB = 0;
    std::ifstream measured(result);
    if (!WIFEXITED(launched) || WEXITSTATUS(launched) != 0 ||
        !(measured >> status >> cpuSeconds >> peakKiB)) {
        throw std::runtime_error("cannot start " + cli.string() + firstLines(err));
    }
    if (status != 0) {
        throw std::runtime_error(cli.filename().string() + " --export ended with status " +
                                 std::to_string(status) + firstLines(err));
    }
    Sample sample;
    sample.seconds = std::chrono::duration<double>(end - start).count();
    sample.cpuSeconds = cpuSeconds;
    sample.peakBytes = peakKiB * 1024;
    return sample;
}

int measureChild(int argc, char** argv) {
    if (argc < 2) {
        return 2;
    }
    const pid_t child = fork();
    if (child < 0) {
        std::perror("vantrell-bench: fork");
        return 1;
    }
    if (child == 0) {
        execv(argv[1], argv + 1);
        std::perror("vantrell-bench: exec");
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            std::perror("vantrell-bench: wait");
            return 1;
        }
    }
    std::ofstream result(argv[0], std::ios::trunc);
    result << (WIFEXITED(status) ? WEXITSTATUS(status) : -1) << ' '
           << seconds(usage.ru_utime) + seconds(usage.ru_stime) << ' ' << usage.ru_maxrss << '\n';
    return result ? 0 : 1;
}

}  // namespace vantrell::bench
