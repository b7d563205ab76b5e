#pragma once
// Reading and writing the case JSON of kinevo-calc and the import from the
// hospital record: checked fields that name themselves in the error, and
// numbers that are null when not finite.
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

// Throws BadInput "field: problem", control characters escaped so that it
// stays one line whatever input text it holds.
[[noreturn]] void Fail(const std::string& field, const std::string& problem);

// Input text shown in a message: in double quotes, escaped as a JSON string.
std::string Quoted(const std::string& text);
// `text` with each control character (C0, DEL and C1), U+2028 and U+2029
// escaped as \uXXXX and each byte outside UTF-8 as \xXX: a one-line message.
std::string OneLine(const std::string& text);

// Refuses any key of `object` not in `allowed`; `where` names the object.
void CheckKeys(const Json& object, const std::string& where, std::initializer_list<const char*> allowed);
const Json& ObjectField(const Json& parent, const std::string& where, const char* key);

std::optional<double> OptNumber(const Json& object, const std::string& where, const char* key);
double Number(const Json& object, const std::string& where, const char* key);
// The value of a JSON integer within [low, high]; none for anything else.
std::optional<long long> IntegerIn(const Json& value, long long low, long long high);
std::optional<std::string> OptText(const Json& object, const std::string& where, const char* key);

// A finite number, or null.
Json Num(double value);
Json Num(std::optional<double> value);
// The number when `present`, else null.
Json NumIf(bool present, double value);
