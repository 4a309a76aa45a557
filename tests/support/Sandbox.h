#pragma once

#include <filesystem>
#include <string>

namespace vantrell::testing {

// A temporary folder of its own for one test; deleted with everything in it at the end.
class Sandbox {
  public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path file(const std::string& name) const { return path_ / name; }

    // The whole content of a file as bytes ("" when missing).
    std::string read(const std::string& name) const;
    void write(const std::string& name, const std::string& bytes) const;

  private:
    std::filesystem::path path_;
};

}  // namespace vantrell::testing
