#include "interfacedb/access/JetText.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <vector>

#include "diag/Utf8.h"

namespace vantrell::db::access {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// What iconv_open returns when it cannot convert.
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1));

// Collects UTF-16 units as UTF-8, pairing surrogates; a unit that makes no character
// becomes U+FFFD.
class Utf16Decoder {
  public:
    explicit Utf16Decoder(std::size_t sizeHint) { out_.reserve(sizeHint); }

    void add(char16_t unit) {
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (pendingHigh_ != 0) {
            const char16_t first = pendingHigh_;
            pendingHigh_ = 0;
            if (low) {
                appendUtf8(out_, 0x10000 + ((static_cast<char32_t>(first) - 0xD800) << 10) +
                                     (static_cast<char32_t>(unit) - 0xDC00));
                return;
            }
            appendUtf8(out_, kReplacement);
        }
        if (high) {
            pendingHigh_ = unit;
        } else if (unit < 0x80) {
            out_ += static_cast<char>(unit);  // most text is ASCII
        } else {
            appendUtf8(out_, low ? kReplacement : static_cast<char32_t>(unit));
        }
    }

    std::string finish() {
        if (pendingHigh_ != 0) {
            appendUtf8(out_, kReplacement);
        }
        return std::move(out_);
    }

  private:
    std::string out_;
    char16_t pendingHigh_ = 0;
};

}  // namespace

std::string jetUnicodeToUtf8(const unsigned char* bytes, std::size_t size) {
    Utf16Decoder decoder(size);
    const bool compressed = size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    bool oneByte = compressed;
    for (std::size_t i = compressed ? 2 : 0; i < size;) {
        if (compressed && bytes[i] == 0) {
            oneByte = !oneByte;
            ++i;
        } else if (oneByte) {
            decoder.add(bytes[i]);
            ++i;
        } else if (i + 1 < size) {
            decoder.add(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
            i += 2;
        } else {
            decoder.add(0xDC00);  // half a unit: shows as a replacement character
            ++i;
        }
    }
    return decoder.finish();
}

// A single-byte code page is read through a table of its 256 characters, made once; the
// double-byte ones (Chinese, Japanese, Korean) go through iconv character by character.
struct CodePageText::Converter {
    iconv_t handle = kNoConverter;
    bool singleByte = false;
    std::array<char32_t, 256> table{};
};

namespace {

// What a byte of a code page is on its own: one character (into `c`), no character at all, or
// the first byte of a longer character.
enum class ByteMeaning { Character, None, LeadByte };

ByteMeaning meaningOf(iconv_t toUtf32, unsigned char b, char32_t& c) {
    iconv(toUtf32, nullptr, nullptr, nullptr, nullptr);
    char in = static_cast<char>(b);
    char* inPointer = &in;
    std::size_t inLeft = 1;
    char* outPointer = reinterpret_cast<char*>(&c);
    std::size_t outLeft = sizeof c;
    errno = 0;
    if (iconv(toUtf32, &inPointer, &inLeft, &outPointer, &outLeft) !=
        static_cast<std::size_t>(-1)) {
        return outLeft == 0 ? ByteMeaning::Character : ByteMeaning::None;
    }
    return errno == EINVAL ? ByteMeaning::LeadByte : ByteMeaning::None;
}

}  // namespace

CodePageText::CodePageText(unsigned codePage) : converter_(std::make_unique<Converter>()) {
    const std::string number = std::to_string(codePage);
    std::string name;
    for (const std::string& candidate :
         {"CP" + number, "WINDOWS-" + number, std::string("CP1252")}) {
        converter_->handle = iconv_open("UTF-8", candidate.c_str());
        if (converter_->handle != kNoConverter) {
            name = candidate;
            break;
        }
    }
    const iconv_t toUtf32 =
        converter_->handle != kNoConverter ? iconv_open("UTF-32LE", name.c_str()) : kNoConverter;
    if (toUtf32 == kNoConverter) {
        return;
    }
    converter_->singleByte = true;
    for (unsigned b = 0; b < converter_->table.size(); ++b) {
        char32_t c = kReplacement;
        const ByteMeaning meaning = meaningOf(toUtf32, static_cast<unsigned char>(b), c);
        if (meaning == ByteMeaning::LeadByte) {
            converter_->singleByte = false;
            break;
        }
        converter_->table[b] = meaning == ByteMeaning::Character ? c : kReplacement;
    }
    iconv_close(toUtf32);
}

CodePageText::~CodePageText() {
    if (converter_->handle != kNoConverter) {
        iconv_close(converter_->handle);
    }
}

std::string CodePageText::toUtf8(const unsigned char* bytes, std::size_t size) const {
    std::string out;
    out.reserve(size);
    if (converter_->singleByte) {
        for (std::size_t i = 0; i < size; ++i) {
            const char32_t c = converter_->table[bytes[i]];
            if (c < 0x80) {
                out += static_cast<char>(c);  // most text is ASCII
            } else {
                appendUtf8(out, c);
            }
        }
        return out;
    }
    if (converter_->handle == kNoConverter) {
        // No converter at all on this system: keep ASCII, mark the rest.
        for (std::size_t i = 0; i < size; ++i) {
            appendUtf8(out, bytes[i] < 0x80 ? bytes[i] : kReplacement);
        }
        return out;
    }
    iconv(converter_->handle, nullptr, nullptr, nullptr, nullptr);
    std::vector<char> input(bytes, bytes + size);
    char* in = input.data();
    std::size_t inLeft = input.size();
    std::vector<char> buffer(4 * size + 16);
    while (inLeft > 0) {
        char* outStart = buffer.data();
        char* outPointer = outStart;
        std::size_t outLeft = buffer.size();
        const std::size_t result = iconv(converter_->handle, &in, &inLeft, &outPointer, &outLeft);
        out.append(outStart, static_cast<std::size_t>(outPointer - outStart));
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // A byte that starts no character of the code page, or a character cut short.
            appendUtf8(out, kReplacement);
            ++in;
            --inLeft;
        }
    }
    return out;
}

}  // namespace vantrell::db::access
