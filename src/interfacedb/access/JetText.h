#pragma once

// Text as Jet stores it, turned into UTF-8.

#include <cstddef>
#include <memory>
#include <string>

namespace vantrell::db::access {

// Jet 4 and ACE text: UTF-16LE, or, after the marker FF FE, "compressed" text in which a zero
// byte switches between one byte per character (the character's low byte) and two. Units that
// do not make a character become U+FFFD.
std::string jetUnicodeToUtf8(const unsigned char* bytes, std::size_t size);

// Jet 3 text in one Windows code page. The code page comes from the file's header; one that
// this system cannot convert from is read as 1252, the Western one.
class CodePageText {
  public:
    // A converter from `codePage`, or from 1252 when this system has none for it. Never
    // throws for an unknown code page.
    explicit CodePageText(unsigned codePage);
    ~CodePageText();
    CodePageText(const CodePageText&) = delete;
    CodePageText& operator=(const CodePageText&) = delete;

    // The text as UTF-8; bytes that make no character become U+FFFD.
    std::string toUtf8(const unsigned char* bytes, std::size_t size) const;

  private:
    struct Converter;
    std::unique_ptr<Converter> converter_;
};

}  // namespace vantrell::db::access
