// kinevo-calc --fhir: the case of a bundle on standard output, what was not
// used on standard error, exit 0 only with the output written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../fhir/fhir_bundle_fixtures.h"
#include "calc_runner.h"

namespace {
const std::string kExample = KINEVO_EXAMPLES_DIR "/fhir/vancomycin-inpatient.json";

std::string Written(const std::string& name, const std::string& text) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path) << text;
    return path;
}
}  // namespace

TEST(KinevoCalcFhir, TheExampleBundlePrintsItsCaseAndRunsIt) {
    const CalcRun printed = RunCalcWith({"--fhir", kExample});
    ASSERT_EQ(printed.exitCode, 0) << printed.err;
    EXPECT_EQ(printed.err, "patient: Example, Vera Anne (H-0042117)\n");
    const nlohmann::json input = printed.json();
    EXPECT_EQ(input["drug"], "VM");
    EXPECT_EQ(input["history"]["doses"].size(), 2u);
    // The printed case is a kinevo-calc input: run on its own it gives what
    // --run gives, with the levels 47.5 h and 75 h after the first dose.
    const CalcRun direct = RunCalcProgram(input);
    const CalcRun run = RunCalcWith({"--fhir", kExample, "--run"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const nlohmann::json result = run.json();
    EXPECT_EQ(result["history"]["levels"][0]["time"], 47.5);
    EXPECT_EQ(result["history"]["levels"][1]["time"], 75);
    EXPECT_EQ(result["history"]["levels"][1]["observed"], 22.1);
    EXPECT_EQ(result["fits"], direct.json()["fits"]);
}

TEST(KinevoCalcFhir, UnusedEntriesGoToStandardErrorAndBadBundlesAreRefused) {
    const std::string withUnused = Written("fhir-unused.json", R"({"resourceType": "Bundle", "entry": [
        {"resource": {"resourceType": "Encounter", "id": "e1"}},
        {"resource": {"resourceType": "Observation", "id": "v1", "status": "final",
          "code": {"coding": [{"system": "http://loinc.org", "code": "4092-3"}]},
          "effectiveDateTime": "2026-12-01T07:00:00Z",
          "valueQuantity": {"value": 10, "unit": "%", "system": "http://unitsofmeasure.org", "code": "%"}}}]})");
    const CalcRun listed = RunCalcWith({"--fhir", withUnused});
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.err,
              "patient: no name or identifier in the bundle\n"
              "not used: Encounter/e1: resource type Encounter is not read\n"
              "not used: Observation/v1: unit % cannot be converted to mg/L\n");
    EXPECT_EQ(listed.json(), (nlohmann::json{{"drug", "VM"}}));
    // Without weight, height or creatinine the case cannot run: refused as
    // kinevo-calc refuses such input, after the list.
    const CalcRun incomplete = RunCalcWith({"--fhir", withUnused, "--run"});
    EXPECT_EQ(incomplete.exitCode, 2);
    EXPECT_EQ(incomplete.out, "");
    EXPECT_NE(incomplete.err.find("patient: is required"), std::string::npos) << incomplete.err;

    const auto refused = [](const std::vector<std::string>& arguments, const std::string& message) {
        const CalcRun run = RunCalcWith(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, message + "\n");
    };
    refused({"--fhir", Written("fhir-broken.json", R"({"resourceType": "Bundle", "entry": [)")},
            "bundle: input: not valid JSON (byte 38)");
    refused({"--fhir", Written("fhir-patient.json", R"({"resourceType": "Patient"})")},
            "bundle: not a FHIR R4 Bundle: resourceType must be \"Bundle\"");
    refused({"--fhir", kExample, "--drug", "ZZ"}, "bundle: drug \"ZZ\": its codes are not read from a record");
    refused({"--fhir", "/nonexistent/bundle.json"}, "\"/nonexistent/bundle.json\": cannot be read");
    refused({"--fhir"}, "usage: kinevo-calc --fhir BUNDLE.json [--drug CODE] [--run]");
    refused({"--fhir", kExample, "--colour"}, "usage: kinevo-calc --fhir BUNDLE.json [--drug CODE] [--run]");
}

TEST(KinevoCalcFhir, OralDosesRunWithTheirForms) {
    // The tablets regimen: the levels 455.75 h and 865.25 h after 1 November 08:00.
    const CalcRun theophylline =
        RunCalcWith({"--fhir", KINEVO_EXAMPLES_DIR "/fhir/theophylline-outpatient.json", "--run"});
    ASSERT_EQ(theophylline.exitCode, 0) << theophylline.err;
    const nlohmann::json levels = theophylline.json()["history"]["levels"];
    EXPECT_EQ(levels[0]["time"], 455.75);
    EXPECT_EQ(levels[1]["time"], 865.25);

    // A capsule (phenytoin sodium, salt 0.92) and the suspension (1.0), each
    // absorbed in portions of at most 60 mg an hour: 5 and 3 events.
    const std::string day = "2026-12-01T07:00:00Z";
    const json bundle = Bundle(
        {Patient("male", "1980-01-01"), Observation("wt", "29463-7", Ucum(70, "kg"), day),
         Observation("ht", "8302-2", Ucum(175, "cm"), day), Observation("scr", "2160-0", Ucum(1, "mg/dL"), day),
         Observation("alb", "1751-7", Ucum(4, "g/dL"), day),
         OralDose("cap", 300, "2026-12-01T08:00:00Z",
                  MedicationWithForm("m", Coded("http://www.nlm.nih.gov/research/umls/rxnorm", "8183"), "385049006")),
         OralDose("susp", 125, "2026-12-01T20:00:00Z",
                  MedicationWithForm("m", {{"text", "Phenytoin 125 mg/5 mL oral suspension"}}, "385024007")),
         Observation("level", "3968-5", Ucum(10, "ug/mL"), "2026-12-02T07:00:00Z")});
    const CalcRun phenytoin = RunCalcWith({"--fhir", Written("fhir-phenytoin.json", bundle.dump()), "--run"});
    ASSERT_EQ(phenytoin.exitCode, 0) << phenytoin.err;
    double capsules = 0, suspension = 0;
    int events = 0;
    const nlohmann::json result = phenytoin.json();
    for (const nlohmann::json& e : result["history"]["events"]) {
        ++events;
        (e["salt"] == 0.92 ? capsules : suspension) += e["amount"].get<double>();
        EXPECT_TRUE(e["salt"] == 0.92 || e["salt"] == 1.0) << e.dump();
    }
    EXPECT_EQ(events, 8);
    EXPECT_EQ(capsules, 300);
    EXPECT_EQ(suspension, 125);
}
