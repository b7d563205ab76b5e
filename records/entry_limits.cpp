#include "records/entry_limits.h"

std::optional<std::string> WeightProblem(double weight) {
    if (weight >= 0.1 && weight <= 1000) return std::nullopt;
    return "Please input a valid Weight. Acceptable range is 0.1 lbs to 1000 lbs.";
}

std::optional<std::string> HeightProblem(double height) {
    if (height >= 5 && height <= 230) return std::nullopt;
    return "Please input a valid Height. Acceptable range is 5 inches to 90 inches.";
}

std::optional<std::string> ScrProblem(double scr) {
    if (scr >= 0.09 && scr <= 15) return std::nullopt;
    return "Please input a correct Value of SCr. Acceptable range is 0.09 to 15 mg/dL";
}

std::optional<std::string> CrClProblem(double crcl) {
    if (crcl >= 0 && crcl <= 300) return std::nullopt;
    return "Please input a correct Value of CLCr.";
}

std::optional<std::string> AlbuminProblem(double albumin) {
    if (albumin == 0 || (albumin >= 0.01 && albumin <= 10)) return std::nullopt;
    return "Please input a correct Value of Albumin. Acceptable range is 0.01 to 10 g/dL";
}

std::optional<std::string> BirthdayProblem(long birthdayDay, long todayDay) {
    if (birthdayDay > todayDay) return "A future birthday date cannot be entered. Please enter valid age.";
    if (todayDay - birthdayDay > 43800) return "Maximum age allowed is 120 years. Please enter valid age.";
    return std::nullopt;
}
