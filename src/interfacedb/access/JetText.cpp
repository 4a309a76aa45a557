#include "interfacedb/access/JetText.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <vector>

#include "interfacedb/access/Utf8.h"

namespace vantrell::db::access {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// What iconv_open returns when it cannot convert.
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1));

std::string utf16ToUtf8(const std::vector<char16_t>& units) {
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                                (static_cast<char32_t>(units[i + 1]) - 0xDC00));
            ++i;
        } else {
            appendUtf8(out, high || low ? kReplacement : static_cast<char32_t>(unit));
        }
    }
    return out;
}

}  // namespace

std::string jetUnicodeToUtf8(const unsigned char* bytes, std::size_t size) {
    std::vector<char16_t> units;
    units.reserve(size);
    const bool compressed = size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    bool oneByte = compressed;
    for (std::size_t i = compressed ? 2 : 0; i < size;) {
        if (compressed && bytes[i] == 0) {
            oneByte = !oneByte;
            ++i;
        } else if (oneByte) {
            units.push_back(bytes[i]);
            ++i;
        } else if (i + 1 < size) {
            units.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
            i += 2;
        } else {
            units.push_back(0xDC00);  // half a unit: shows as a replacement character
            ++i;
        }
    }
    return utf16ToUtf8(units);
}

struct CodePageText::Converter {
    iconv_t handle = kNoConverter;
};

CodePageText::CodePageText(unsigned codePage) : converter_(std::make_unique<Converter>()) {
    const std::string number = std::to_string(codePage);
    for (const std::string& name : {"CP" + number, "WINDOWS-" + number, std::string("CP1252")}) {
        converter_->handle = iconv_open("UTF-8", name.c_str());
        if (converter_->handle != kNoConverter) {
            return;
        }
    }
}

CodePageText::~CodePageText() {
    if (converter_->handle != kNoConverter) {
        iconv_close(converter_->handle);
    }
}

std::string CodePageText::toUtf8(const unsigned char* bytes, std::size_t size) const {
    std::string out;
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
