#include "cli/json_fields.h"

#include <cmath>

void Fail(const std::string& field, const std::string& problem) { throw BadInput(field + ": " + problem); }

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

std::optional<std::string> OptText(const Json& object, const std::string& where, const char* key) {
    if (!object.contains(key) || object.at(key).is_null()) return std::nullopt;
    const Json& v = object.at(key);
    if (!v.is_string()) Fail(Name(where, key), "must be a text");
    return v.get<std::string>();
}

Json Num(double value) { return std::isfinite(value) ? Json(value) : Json(nullptr); }
Json Num(std::optional<double> value) { return value ? Num(*value) : Json(nullptr); }
Json NumIf(bool present, double value) { return present ? Num(value) : Json(nullptr); }
