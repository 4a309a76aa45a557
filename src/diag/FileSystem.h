#pragma once

#include <filesystem>
#include <string>

namespace vantrell {

// True when `path` names an ordinary file: not empty, not a directory, not hidden and not a
// system file. A name beginning with "." counts as hidden where the platform has no attribute.
bool fileExists(const std::filesystem::path& path);

// True when nothing is at `path` or it is an ordinary file (through links): what may be
// opened for writing without blocking. A FIFO, a device or a folder is not.
bool isWritableFileOrAbsent(const std::filesystem::path& path);

// `path` whole, as a file dialog returns it: relative to the current folder, with "." and ".."
// resolved by name, in the platform's separators. An empty path stays empty; never throws (a
// path that cannot be completed is returned as it is).
std::filesystem::path fullPath(const std::filesystem::path& path);

// The full path of the running executable; where the system cannot tell (no /proc), a file
// "vantrell" in the current folder. Never throws for an unknown path.
std::filesystem::path executablePath();

// Whether two paths name one file: the same file when both exist, otherwise the same path once
// made absolute and normal. Never throws.
bool namesSameFile(const std::filesystem::path& first, const std::filesystem::path& second);

// The path as UTF-8 text, and back; the same on every platform, whatever the locale.
std::string pathToUtf8(const std::filesystem::path& path);
// The path that UTF-8 `text` spells.
std::filesystem::path utf8ToPath(const std::string& text);

}  // namespace vantrell
