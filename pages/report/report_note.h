#pragma once
// The note typed on the report page joins the case's note once the report
// is printed or saved. Lengths count characters, not bytes, so a cut never
// splits a character of a UTF-8 text.
#include <string>

inline constexpr int kReportNoteLimit = 150;  // what the page lets the user type

std::string WithReportNote(const std::string& stored, const std::string& typed);
