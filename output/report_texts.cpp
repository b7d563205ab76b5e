#include "output/report_texts.h"

#include <cmath>
#include <cstdio>

#include "records/db/stored_text.h"
#include "records/text_format.h"

namespace {
bool HasFraction(double value) { return value - std::floor(value) > 0.005; }

// The product's form text with a blank before each opening bracket.
std::string SpacedProduct(const std::string& product) {
    std::string spaced;
    for (char c : product) {
        if (c == '(') spaced += ' ';
        spaced += c;
    }
    return spaced;
}

std::string ClockHour(int hour) {
    char text[16];
    std::snprintf(text, sizeof text, "%.2d", hour);
    return text;
}

// Each dose with its clock hour; the blank after the last comma goes.
std::string UnevenSentence(const ReportRegimen& r) {
    std::string doses;
    for (const UnevenReportDose& d : r.unevenDoses) {
        doses += FormatNumber(HasFraction(d.dose) ? "%.1f" : "%.0f", d.dose) + " " + r.doseUnit + " at " +
                 ClockHour(d.hour) + ", ";
    }
    doses.pop_back();
    return doses + " as Oral " + SpacedProduct(r.product) + ".";
}
}  // namespace

std::string RegimenNumber(const std::string& text) {
    if (text.empty()) return text;
    const double value = TextNumber(text);
    return FormatNumber(HasFraction(value) ? "%.1f" : "%.0f", value);
}

std::string LevelNumber(const std::string& text) {
    return text.empty() ? text : FormatNumber("%.1f", TextNumber(text));
}

ReportRegimen ReformattedRegimen(const ReportRegimen& handed, bool twoCompartment) {
    ReportRegimen r = handed;
    for (std::string* number : {&r.dose, &r.interval, &r.postTime, &r.infusionTime, &r.dose2, &r.interval2})
        *number = RegimenNumber(*number);
    for (std::string* level : {&r.peak, &r.trough, &r.post, &r.average}) *level = LevelNumber(*level);
    if (twoCompartment) r.average.clear();
    if (!r.auc24.empty()) r.auc24 = FormatNumber("%.0f", TextNumber(r.auc24));
    return r;
}

std::string RegimenSentence(const ReportRegimen& r, bool phenytoin) {
    const std::string every = r.dose + " " + r.doseUnit + " every " + r.interval + " hours as ";
    switch (r.routeCode) {
        case 'I':
            return " " + every +
                   (phenytoin ? "an intramuscular injection of fosphenytoin." : "an intramuscular injection.");
        case 'C': return " " + every + "a Continuous IV Infusion.";
        case 'D':
            if (phenytoin) return every + "an Intermittent Infusion.";
            return every + "an Intermittent Infusion Infused Over " + r.infusionTime + " Hour(s).";
        case 'O': {
            if (!r.unevenDoses.empty()) return UnevenSentence(r);
            std::string sentence = every + "Oral " + SpacedProduct(r.product);
            if (phenytoin && !r.dose2.empty())
                sentence += " and " + r.dose2 + " mg " + " every " + r.interval2 + " hours as Oral " +
                            SpacedProduct(r.product2);
            return sentence;
        }
        default: return {};
    }
}

bool HasPostTime(const ReportRegimen& r) { return !r.postTime.empty() && TextNumber(r.postTime) != 0; }

std::string PredictedLevelsLine(const ReportRegimen& r, const LevelLineChoice& choice) {
    if (choice.phenytoin)
        return (choice.populationReport ? "Observed Average: " : "Average: ") + r.observedAverage +
               "    Adjusted Average: " + r.adjustedAverage;
    // A continuous infusion has neither peak nor trough: its level is the average.
    if (r.routeCode == 'C') return "Average: " + r.average;
    const bool withPost = HasPostTime(r);
    const std::string trough = "Trough: " + r.trough;
    const std::string post = "Post (" + r.postTime + " hr): " + r.post + "     ";
    if (choice.printPeak) return "Peak: " + r.peak + "    " + (withPost ? post : std::string()) + trough;
    return (withPost ? post : std::string()) + trough;
}
