#pragma once

#include <cstddef>
#include <string>

#include <pugixml.hpp>

namespace vantrell {

// Serializes XML straight onto the end of a string: a stream would hold a second copy of a
// large message.
class StringWriter final : public pugi::xml_writer {
  public:
    // Appends to `out`, which must outlive the writer; what `out` held before is kept.
    explicit StringWriter(std::string& out) : out_(out) {}
    // Appends the `size` bytes at `data` to the string, as pugixml hands them over.
    void write(const void* data, std::size_t size) override {
        out_.append(static_cast<const char*>(data), size);
    }

  private:
    std::string& out_;
};

// Appends to `parent` an element `name` holding only `text`, which ends at its first NUL, if it
// holds one. Throws only std::bad_alloc.
inline void appendTextElement(pugi::xml_node parent, const char* name, const std::string& text) {
    parent.append_child(name).append_child(pugi::node_pcdata).set_value(text.c_str());
}

}  // namespace vantrell
