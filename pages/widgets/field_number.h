#pragma once
// Reading a typed field as a number, strictly: "1,000", "1,5" or "12abc" are
// no numbers, never their leading digits.
#include <QString>
#include <optional>

// A field's number; nullopt for an empty text, a non-number or a non-finite one.
std::optional<double> FieldNumber(const QString& text);
// The message for a text that is not wholly a number; nothing for an empty
// text or a number.
std::optional<QString> NotANumberProblem(const QString& text);
