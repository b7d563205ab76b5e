#include "pages/report/report_note.h"

namespace {
bool ContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::size_t CharacterCount(const std::string& text) {
    std::size_t count = 0;
    for (char c : text) count += ContinuationByte(c) ? 0 : 1;
    return count;
}

// The first `count` characters of a UTF-8 text.
std::string FirstCharacters(const std::string& text, std::size_t count) {
    std::size_t end = 0, seen = 0;
    while (end < text.size()) {
        if (!ContinuationByte(text[end]) && seen++ == count) break;
        ++end;
    }
    return text.substr(0, end);
}
}  // namespace

// A stored note of 134 characters or more is full and left as it is.
std::string WithReportNote(const std::string& stored, const std::string& typed) {
    const std::size_t n = CharacterCount(stored), m = CharacterCount(typed);
    if (n == 0) return "Report Note: " + (m > 134 ? FirstCharacters(typed, 135) : typed);
    if (n + m <= 133) return stored + "\r\nReport Note: " + typed;
    if (n < 134) return stored + "\r\nReport Note: " + FirstCharacters(typed, 134 - n);
    return stored;
}
