// The input text itself: size, nesting, repeated keys, numbers and texts
// that the JSON grammar allows but kinevo-calc must refuse in one line.
#include <gtest/gtest.h>

#include "calc_runner.h"
#include "fhir/json_input.h"

using nlohmann::json;

namespace {
const std::string kPatient =
    R"("today": "2026-12-08", "patient": {"age_years": 40, "sex": "M", "weight_kg": 70, "height_cm": 170, "scr_mg_dl": 1})";

std::string Case(const std::string& more) { return "{" + kPatient + ", " + more + "}"; }

const std::string kDoseRow =
    R"("date": "2026-12-01", "dose": 120, "route": "IV", "infusion_time": 0.5, "interval": 8, "doses": 3, "status": "I")";
}  // namespace

TEST(KinevoCalcInput, NumbersBeyondADoubleAreRefusedNotAborted) {
    ExpectRefused(Case(R"("drug": "GM", "parameters": {"Vd": 1e309})"), "input: number out of range at byte");
    ExpectRefused(Case(R"("drug": "GM", "parameters": {"Vd": -1e400})"), "\"-1e400\"");
    ExpectRefused(Case(R"("drug": "GM", "factors": [4294967297])"),
                  "factors: question 4294967297 is not in this patient's list of 5");
    ExpectRefused(Case(R"("drug": "GM", "history": {"doses": [{"time": "4294967313:00", )" + kDoseRow + "}]}"),
                  "history.doses[0].time: must be a time HH:MM");
    ExpectRefused(Case(R"("drug": "GM", "history": {"doses": [{"time": " 8:00", )" + kDoseRow + "}]}"),
                  "history.doses[0].time: must be a time HH:MM");
}

TEST(KinevoCalcInput, InputTextInAMessageIsQuotedOnOneLine) {
    EXPECT_EQ(Refusal(Case(R"("drug": "G\nM")")), "drug: unknown drug code \"G\\nM\"\n");
    // A NUL no longer cuts the message short.
    EXPECT_EQ(Refusal(Case(R"("drug": "G\u0000M")")), "drug: unknown drug code \"G\\u0000M\"\n");
    EXPECT_EQ(Refusal(Case(R"("drug": "GM", "x\ry": 1)")), "x\\u000dy: unknown key\n");
    EXPECT_EQ(Refusal(Case(R"("drug": "GM", "route_product": "IV \"x\"")")),
              "route_product: \"IV \\\"x\\\"\" is not offered for Gentamicin\n");
}

TEST(KinevoCalcInput, RepeatedKeysAreRefusedWhereTheyOccur) {
    EXPECT_EQ(Refusal(Case(R"("drug": "GM", "drug": "VA")")), "drug: is given twice\n");
    const std::string twice = R"("drug": "GM", "history": {"levels": [], "doses": [{"time": "08:00", "dose": 1, )";
    EXPECT_EQ(Refusal(Case(twice + kDoseRow + "}]}")), "history.doses[0].dose: is given twice\n");
}

TEST(KinevoCalcInput, OversizedOrDeeplyNestedInputIsRefused) {
    const std::string gentamicin = Case(R"("drug": "GM")");
    std::string atLimit = gentamicin + std::string(kMaxInputBytes - gentamicin.size(), ' ');
    EXPECT_EQ(RunCalcProgram(atLimit).exitCode, 0);
    EXPECT_EQ(Refusal(atLimit + " "), "input: larger than 1048576 bytes\n");

    // Ten megabytes of empty objects took hundreds of megabytes to parse.
    std::string objects = "[{}";
    while (objects.size() < 10'000'000) objects += ",{}";
    EXPECT_EQ(Refusal(objects + "]"), "input: larger than 1048576 bytes\n");

    EXPECT_EQ(Refusal(std::string(17, '[') + std::string(17, ']')), "input: nested deeper than 16 levels\n");
    EXPECT_EQ(Refusal(std::string(16, '[') + std::string(16, ']')), "input: must be a JSON object\n");
}

TEST(KinevoCalcInput, EveryByteIsReadAndEveryLineBreakEscaped) {
    // A NUL ended the parse: the text after it passed unread.
    const std::string valid = Case(R"("drug": "GM")");
    EXPECT_EQ(Refusal(valid + std::string("\0{\"drug\": 1}", 12)),
              "input: not valid JSON (byte " + std::to_string(valid.size() + 1) + ")\n");
    // C1 controls and the Unicode separators break lines in terminals and logs.
    EXPECT_EQ(Refusal(Case(R"("drug": "G\u0085M\u009b2J")")), "drug: unknown drug code \"G\\u0085M\\u009b2J\"\n");
    EXPECT_EQ(Refusal(Case(R"("drug": "GM", "a\u2028b\u2029c": 1)")), "a\\u2028b\\u2029c: unknown key\n");
    EXPECT_EQ(Refusal(Case(R"("drug": "Gé")")), "drug: unknown drug code \"Gé\"\n");
    // A whole count beyond any history is no fraction.
    EXPECT_EQ(Refusal(Case(R"("drug": "GM", "history": {"doses": [{"time": "08:00", "date": "2026-12-01", "dose": 120,
                           "route": "IV", "infusion_time": 0.5, "interval": 8, "doses": 1e9, "status": "I"}]})")),
              "history.doses[0].doses: is too large: a history holds at most 1000 dose events\n");
}
