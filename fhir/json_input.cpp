#include "fhir/json_input.h"

#include <utility>
#include <vector>

namespace {
// Builds the document from the parser's events, so that a repeated key and
// too deep a nesting are refused at the place where they occur.
class InputBuilder {
public:
    bool null() { return Value(nullptr); }
    bool boolean(bool value) { return Value(value); }
    bool number_integer(Json::number_integer_t value) { return Value(value); }
    bool number_unsigned(Json::number_unsigned_t value) { return Value(value); }
    bool number_float(Json::number_float_t value, const std::string&) { return Value(value); }
    bool string(std::string& value) { return Value(std::move(value)); }
    bool binary(Json::binary_t&) { return false; }  // JSON text has no binary values
    bool start_object(std::size_t) { return Open(Json::object()); }
    bool start_array(std::size_t) { return Open(Json::array()); }
    bool end_object() { return Close(); }
    bool end_array() { return Close(); }

    bool key(std::string& key) {
        if (open_.back().value->contains(key)) Fail(Name(Path(), key), "is given twice");
        open_.back().key = std::move(key);
        return true;
    }

    bool parse_error(std::size_t position, const std::string& token, const Json::exception& e) {
        // 406: the parser read a number that a double cannot hold.
        if (e.id == 406)
            Fail("input", "number out of range at byte " + std::to_string(position) + ": " + Quoted(token));
        Fail("input", "not valid JSON (byte " + std::to_string(position) + ")");
    }

    Json Result() { return std::move(root_); }

private:
    struct Container {
        Json* value;
        std::string key;  // of the member being read, in an object
    };

    static std::string Name(const std::string& path, const std::string& key) {
        return path.empty() ? key : path + "." + key;
    }

    // Where the innermost open container sits, as the field names of errors.
    std::string Path() const {
        std::string path;
        for (std::size_t i = 0; i + 1 < open_.size(); ++i) {
            const Container& c = open_[i];
            if (c.value->is_array()) path += "[" + std::to_string(c.value->size() - 1) + "]";
            else path = Name(path, c.key);
        }
        return path;
    }

    Json* Add(Json value) {
        if (open_.empty()) {
            root_ = std::move(value);
            return &root_;
        }
        Container& c = open_.back();
        if (c.value->is_array()) {
            c.value->push_back(std::move(value));
            return &c.value->back();
        }
        Json& slot = (*c.value)[c.key];
        slot = std::move(value);
        return &slot;
    }

    bool Value(Json value) {
        Add(std::move(value));
        return true;
    }

    bool Open(Json container) {
        if (open_.size() >= kMaxInputDepth)
            Fail("input", "nested deeper than " + std::to_string(kMaxInputDepth) + " levels");
        open_.push_back({Add(std::move(container)), {}});
        return true;
    }

    bool Close() {
        open_.pop_back();
        return true;
    }

    Json root_;
    std::vector<Container> open_;
};
}  // namespace

Json ParseInput(const std::string& text) {
    if (text.size() > kMaxInputBytes) Fail("input", "larger than " + std::to_string(kMaxInputBytes) + " bytes");
    // The parser takes a NUL byte for the end of the text and would never
    // read what follows; JSON allows none anywhere.
    if (const auto nul = text.find('\0'); nul != std::string::npos)
        Fail("input", "not valid JSON (byte " + std::to_string(nul + 1) + ")");
    InputBuilder builder;
    Json::sax_parse(text, &builder);
    return builder.Result();
}
