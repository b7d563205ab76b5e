#pragma once
// Every failure of the database engine arrives as a DbError whose what() is
// the engine's own text, so the pages can show it as it is.
#include <stdexcept>
#include <string>

class DbError : public std::runtime_error {
public:
    explicit DbError(const std::string& text) : std::runtime_error(text) {}
};
