#include "fhir/json_fields.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

void Fail(const std::string& field, const std::string& problem) {
    throw BadInput(OneLine(field) + ": " + OneLine(problem));
}

std::string Quoted(const std::string& text) { return Json(text).dump(-1, ' ', false, Json::error_handler_t::replace); }

namespace {
// The length of the UTF-8 sequence starting at `i` and its code point; 0
// when the bytes there are no valid sequence.
std::size_t Utf8Sequence(const std::string& text, std::size_t i, char32_t& code) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    if (lead < 0x80) length = 1;
    else if (lead >= 0xc2 && lead < 0xe0) length = 2;
    else if (lead >= 0xe0 && lead < 0xf0) length = 3;
    else if (lead >= 0xf0 && lead < 0xf5) length = 4;
    if (length == 0 || i + length > text.size()) return 0;
    code = length == 1 ? lead : lead & (0x7f >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xc0) != 0x80) return 0;
        code = (code << 6) | (byte(i + k) & 0x3f);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) return 0;
    return length;
}

// Characters that end or break a line somewhere: the C0 and C1 controls,
// DEL, and the Unicode line and paragraph separators.
bool BreaksLine(char32_t code) {
    return code < 0x20 || (code >= 0x7f && code <= 0x9f) || code == 0x2028 || code == 0x2029;
}
}  // namespace

std::string OneLine(const std::string& text) {
    std::string line;
    for (std::size_t i = 0; i < text.size();) {
        char32_t code = 0;
        const std::size_t length = Utf8Sequence(text, i, code);
        char escaped[12];
        if (length == 0) {
            // A byte that is no character of its own is shown as that byte.
            std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned char>(text[i]));
            line += escaped;
            ++i;
            continue;
        }
        if (code == '\n') {
            line += "\\n";
        } else if (BreaksLine(code)) {
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(code));
            line += escaped;
        } else {
            line.append(text, i, length);
        }
        i += length;
    }
    return line;
}

void CheckKeys(const Json& object, const std::string& where, std::initializer_list<const char*> allowed) {
    if (!object.is_object()) Fail(where.empty() ? "input" : where, "must be a JSON object");
    for (const auto& [key, value] : object.items()) {
        bool known = false;
        for (const char* a : allowed) known = known || key == a;
        if (!known) Fail(where.empty() ? key : where + "." + key, "unknown key");
    }
}

const Json& ObjectField(const Json& parent, const std::string& where, const char* key) {
    const Json& value = parent.at(key);
    if (!value.is_object()) Fail(where.empty() ? key : where + "." + key, "must be a JSON object");
    return value;
}

namespace {
std::string Name(const std::string& where, const char* key) { return where.empty() ? key : where + "." + key; }
}  // namespace

std::optional<double> OptNumber(const Json& object, const std::string& where, const char* key) {
    if (!object.contains(key) || object.at(key).is_null()) return std::nullopt;
    const Json& v = object.at(key);
    if (!v.is_number()) Fail(Name(where, key), "must be a number");
    const double d = v.get<double>();
    if (!std::isfinite(d)) Fail(Name(where, key), "must be a finite number");
    return d;
}

double Number(const Json& object, const std::string& where, const char* key) {
    const auto d = OptNumber(object, where, key);
    if (!d) Fail(Name(where, key), "is required");
    return *d;
}

std::optional<long long> IntegerIn(const Json& value, long long low, long long high) {
    if (value.is_number_unsigned()) {
        const auto u = value.get<std::uint64_t>();
        if (high < 0 || u > static_cast<std::uint64_t>(high)) return std::nullopt;
        const auto v = static_cast<long long>(u);
        return v >= low ? std::optional(v) : std::nullopt;
    }
    if (!value.is_number_integer()) return std::nullopt;
    const auto v = value.get<std::int64_t>();
    return v >= low && v <= high ? std::optional<long long>(v) : std::nullopt;
}

std::optional<std::string> OptText(const Json& object, const std::string& where, const char* key) {
    if (!object.contains(key) || object.at(key).is_null()) return std::nullopt;
    const Json& v = object.at(key);
    if (!v.is_string()) Fail(Name(where, key), "must be a text");
    return v.get<std::string>();
}

Json Num(double value) { return std::isfinite(value) ? Json(value) : Json(nullptr); }
Json Num(std::optional<double> value) { return value ? Num(*value) : Json(nullptr); }
Json NumIf(bool present, double value) { return present ? Num(value) : Json(nullptr); }
