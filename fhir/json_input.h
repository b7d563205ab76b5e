#pragma once
// An input text of kinevo-calc, or a bundle from the hospital record, as
// JSON held to more than the JSON grammar.
#include <cstddef>
#include <string>

#include "fhir/json_fields.h"

// Larger inputs are refused before parsing: a real case is a few kilobytes.
inline constexpr std::size_t kMaxInputBytes = 1 << 20;
// No section of the input nests deeper than a few levels.
inline constexpr std::size_t kMaxInputDepth = 16;

// Parses `text` and throws BadInput when it is too large, not JSON, nested
// too deep, holds a key twice in one object or a number beyond a double.
Json ParseInput(const std::string& text);
