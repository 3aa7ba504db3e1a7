#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "JsonText.h"
#include "TextBuffer.h"

namespace zelvane {

// Writes a JSON document into a text buffer, putting the commas between
// members and elements itself. Members of the outermost object and the
// elements of the arrays they hold start lines of their own, so that the
// document reads well and compares line by line.
class JsonWriter {
public:
    explicit JsonWriter(TextBuffer& out) : out_(out) {}

    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }
    // The name of the next member of the object being written.
    void writeKey(std::string_view name);
    void writeString(std::string_view text);
    void writeNumber(double value);
    void writeInteger(uint64_t value);

    void writeStringMember(std::string_view name, std::string_view text) {
        writeKey(name);
        writeString(text);
    }
    void writeNumberMember(std::string_view name, double value) {
        writeKey(name);
        writeNumber(value);
    }
    void writeIntegerMember(std::string_view name, uint64_t value) {
        writeKey(name);
        writeInteger(value);
    }

private:
    void beginValue();
    void open(char bracket);
    void close(char bracket);

    TextBuffer& out_;
    std::vector<bool> hasItems_;  // per open object or array
    bool afterKey_ = false;
};

}  // namespace zelvane
