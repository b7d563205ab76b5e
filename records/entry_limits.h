#pragma once
// The accepted ranges of the patient and case entry fields, with the message
// shown for a value outside them (nullopt when accepted).
#include <optional>
#include <string>

std::optional<std::string> WeightProblem(double weight);
std::optional<std::string> HeightProblem(double height);
std::optional<std::string> ScrProblem(double scr);
std::optional<std::string> CrClProblem(double crcl);
std::optional<std::string> AlbuminProblem(double albumin);  // 0 = not entered
// Birthday against today's day number: future date or more than 120 years.
std::optional<std::string> BirthdayProblem(long birthdayDay, long todayDay);
