#pragma once
// Reading and writing the JSON of kinevo-calc: checked fields that name
// themselves in the error, and numbers that are null when not finite.
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

using Json = nlohmann::json;

// Bad input: exit 2 with this one-line message.
struct BadInput : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void Fail(const std::string& field, const std::string& problem);

// Refuses any key of `object` not in `allowed`; `where` names the object.
void CheckKeys(const Json& object, const std::string& where, std::initializer_list<const char*> allowed);
const Json& ObjectField(const Json& parent, const std::string& where, const char* key);

std::optional<double> OptNumber(const Json& object, const std::string& where, const char* key);
double Number(const Json& object, const std::string& where, const char* key);
std::optional<std::string> OptText(const Json& object, const std::string& where, const char* key);

// A finite number, or null.
Json Num(double value);
Json Num(std::optional<double> value);
// The number when `present`, else null.
Json NumIf(bool present, double value);
