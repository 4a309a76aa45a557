#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace vantrell {

// The folder that holds the interface database, the log and the trace files.
class ProgramFolder {
  public:
    // The folder at `folder`, which need not exist yet; nothing is checked or created.
    explicit ProgramFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}

    // The folder's path as given.
    const std::filesystem::path& path() const { return folder_; }

    // The full path of `fileName` (UTF-8) inside the folder; the file need not exist.
    std::filesystem::path file(std::string_view fileName) const;

    // The folder chosen by, in order: `option` (a command-line option), the environment
    // variable VANTRELL_DATA_DIR, the folder of the running executable.
    static ProgramFolder resolve(const std::optional<std::filesystem::path>& option);

  private:
    std::filesystem::path folder_;
};

}  // namespace vantrell
