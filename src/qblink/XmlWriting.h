#pragma once

#include <cstddef>
#include <string>

#include <pugixml.hpp>

namespace vantrell {

// Serializes XML straight onto the end of a string: a stream would hold a second copy of a
// large message.
class StringWriter final : public pugi::xml_writer {
  public:
    explicit StringWriter(std::string& out) : out_(out) {}
    void write(const void* data, std::size_t size) override {
        out_.append(static_cast<const char*>(data), size);
    }

  private:
    std::string& out_;
};

}  // namespace vantrell
