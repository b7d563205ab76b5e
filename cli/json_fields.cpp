#include "cli/json_fields.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

void Fail(const std::string& field, const std::string& problem) {
    throw BadInput(OneLine(field) + ": " + OneLine(problem));
}

std::string Quoted(const std::string& text) { return Json(text).dump(-1, ' ', false, Json::error_handler_t::replace); }

std::string OneLine(const std::string& text) {
    std::string line;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u != 0x7f) {
            line += c;
        } else if (c == '\n') {
            line += "\\n";
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            line += escaped;
        }
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
