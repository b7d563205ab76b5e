#include "fhir/fhir_bundle.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "engine/history_rows.h"
#include "fhir/fhir_fields.h"
#include "fhir/fhir_history.h"
#include "fhir/fhir_time.h"
#include "records/calendar.h"

namespace {
using Json = nlohmann::json;

const Json& Member(const Json& object, const char* key) {
    static const Json none;
    if (!object.is_object()) return none;
    const auto it = object.find(key);
    return it == object.end() ? none : *it;
}

const Json& ResourceOf(const Json& entry) { return Member(entry, "resource"); }

std::string WhereOf(const Json& entry, std::size_t i) {
    const Json& r = ResourceOf(entry);
    const std::string type = TextOf(r, "resourceType"), id = TextOf(r, "id");
    if (!type.empty() && !id.empty()) return type + "/" + id;
    return "entry[" + std::to_string(i) + "]" + (type.empty() ? "" : " (" + type + ")");
}

struct Latest {
    long long minute;
    double value;
    std::string where;
};

class BundleReader {
public:
    BundleReader(const Json& entries, long long now) : entries_(entries), now_(now) {}

    std::vector<const FhirDrug*> Drugs() {
        Index();
        return DrugsNamed();
    }

    FhirImport Read(const std::string& drugCode) {
        Index();
        drug_ = ChooseDrug(drugCode);
        out_.caseInput = Json::object();
        for (std::size_t i = 0; i < entries_.size(); ++i) ReadEntry(entries_[i], WhereOf(entries_[i], i));
        Json patient = patient_;
        static const std::pair<Measure, const char*> keys[] = {{Measure::Weight, "weight_kg"},
                                                               {Measure::Height, "height_cm"},
                                                               {Measure::Creatinine, "scr_mg_dl"},
                                                               {Measure::Albumin, "albumin_g_dl"}};
        for (const auto& [measure, key] : keys)
            if (const auto it = measures_.find(measure); it != measures_.end()) patient[key] = it->second.value;
        if (!patient.empty()) out_.caseInput["patient"] = patient;
        out_.caseInput["drug"] = drug_->code;
        // A regimen taken at home is a row of its own, never joined with doses.
        std::vector<RegimenRow> rows = JoinEvenDoses(given_);
        rows.insert(rows.end(), regimens_.begin(), regimens_.end());
        CountPhenytoinPortions(rows);
        WriteHistory(rows, levels_, out_);
        return std::move(out_);
    }

private:
    // The hourly limit of oral phenytoin absorption: 60 mg from 18 years on,
    // 1 mg per kg below. Without a birthday the case cannot run anyway.
    void CountPhenytoinPortions(std::vector<RegimenRow>& rows) const {
        if (std::string(drug_->code) != "PH") return;
        double limit = 60;
        const auto birthday = ParseIsoDate(patient_.value("birthday", ""));
        const auto weight = measures_.find(Measure::Weight);
        const double now = static_cast<double>(DayNumber(1970, 1, 1)) + static_cast<double>(now_) / 1440;
        if (birthday && AgeInYears(*birthday, now) < 18 && weight != measures_.end()) limit = weight->second.value;
        for (RegimenRow& row : rows)
            if (IsPhenytoinOralRoute(row.route))
                row.eventsPerDose = static_cast<int>(PhenytoinPortionCount(row.dose, limit));
    }

    void Unused(const std::string& where, const std::string& reason) { out_.unused.push_back({where, reason}); }

    void Index() {
        for (const Json& entry : entries_) {
            const Json& r = ResourceOf(entry);
            const std::string type = TextOf(r, "resourceType"), id = TextOf(r, "id");
            if (type == "Medication") {
                if (!id.empty()) medications_["Medication/" + id] = &r;
                if (!TextOf(entry, "fullUrl").empty()) medications_[TextOf(entry, "fullUrl")] = &r;
            }
            if (type != "Patient") continue;
            if (seen_patient_)
                throw FhirBundleError("the bundle holds more than one Patient; it must be one patient's record");
            seen_patient_ = true;
            if (!id.empty()) patient_ref_ = "Patient/" + id;
            patient_url_ = TextOf(entry, "fullUrl");
        }
    }

    // The Medication resource a dose names, in the bundle or contained in it.
    const Json* MedicationOf(const Json& r) const {
        const std::string ref = TextOf(Member(r, "medicationReference"), "reference");
        if (ref.size() > 1 && ref[0] == '#') {
            for (const Json& c : Member(r, "contained"))
                if (TextOf(c, "resourceType") == "Medication" && TextOf(c, "id") == ref.substr(1)) return &c;
            return nullptr;
        }
        const auto it = medications_.find(ref);
        return it == medications_.end() ? nullptr : it->second;
    }

    // The concept naming a dose's drug: its own, or its Medication's code.
    const Json& MedicationConcept(const Json& r) const {
        if (r.contains("medicationCodeableConcept")) return r.at("medicationCodeableConcept");
        static const Json none;
        const Json* medication = MedicationOf(r);
        return medication ? Member(*medication, "code") : none;
    }

    // The drug an entry names: a level by its LOINC code, a dose by its RxNorm
    // ingredient code, else by the drug's name at the start of its text.
    const FhirDrug* DrugNamed(const Json& r) const {
        const std::string type = TextOf(r, "resourceType");
        if (type == "Observation") {
            for (const std::string& c : CodesIn(Member(r, "code"), kLoincSystem))
                if (const FhirDrug* d = DrugOfLoinc(c)) return d;
        } else if (type == "MedicationAdministration" || type == "MedicationRequest") {
            const Json& medication = MedicationConcept(r);
            for (const std::string& c : CodesIn(medication, kRxNormSystem))
                if (const FhirDrug* d = DrugOfRxNorm(c)) return d;
            return DrugOfText(TextOf(medication, "text"));
        }
        return nullptr;
    }

    const FhirDrug* ChooseDrug(const std::string& code) const {
        if (!code.empty()) {
            if (const FhirDrug* d = DrugOfCode(code)) return d;
            throw FhirBundleError("drug \"" + code + "\": its codes are not read from a record");
        }
        const std::vector<const FhirDrug*> named = DrugsNamed();
        if (named.empty()) throw FhirBundleError("the bundle holds no dose or level of a drug whose codes are read");
        if (named.size() > 1) {
            std::string names;
            for (const FhirDrug* d : named)
                names += std::string(names.empty() ? "" : ", ") + d->name + " (" + d->code + ")";
            throw FhirBundleError("the bundle holds doses or levels of " + names + ": choose one drug");
        }
        return named.front();
    }

    // In the order the bundle first names them.
    std::vector<const FhirDrug*> DrugsNamed() const {
        std::vector<const FhirDrug*> named;
        for (const Json& entry : entries_)
            if (const FhirDrug* d = DrugNamed(ResourceOf(entry)); d && std::ranges::find(named, d) == named.end())
                named.push_back(d);
        return named;
    }

    bool AboutAnotherPatient(const Json& r) const {
        const std::string ref = TextOf(Member(r, "subject"), "reference");
        if (ref.empty() || (patient_ref_.empty() && patient_url_.empty())) return false;
        return ref != patient_ref_ && ref != patient_url_;
    }

    void ReadEntry(const Json& entry, const std::string& where) {
        const Json& r = ResourceOf(entry);
        const std::string type = TextOf(r, "resourceType");
        if (!r.is_object() || type.empty()) return Unused(where, "malformed: the entry holds no resource");
        if (type == "Medication") return;  // read through the doses that name it
        if (type == "Patient") return ReadPatient(r, where);
        if (type != "Observation" && type != "MedicationAdministration" && type != "MedicationRequest")
            return Unused(where, "resource type " + type + " is not read");
        if (AboutAnotherPatient(r)) return Unused(where, "its subject is not the bundle's patient");
        if (type == "Observation") return ReadObservation(r, where);
        if (r.contains("medication"))
            return Unused(
                where, "medication is not in the FHIR R4 structure (medicationCodeableConcept or medicationReference)");
        const FhirDrug* named = DrugNamed(r);
        if (!named) return Unused(where, "no RxNorm ingredient code or name of a drug read here");
        if (named != drug_) return Unused(where, std::string("a dose of ") + named->name + ", not of " + drug_->name);
        if (type == "MedicationAdministration") return ReadAdministration(r, where);
        ReadRequest(r, where);
    }

    void ReadPatient(const Json& r, const std::string& where) {
        const Json& names = Member(r, "name");
        if (names.is_array() && !names.empty()) {
            const auto official =
                std::find_if(names.begin(), names.end(), [](const Json& n) { return TextOf(n, "use") == "official"; });
            const Json& name = official != names.end() ? *official : names.front();
            out_.familyName = TextOf(name, "family");
            for (const Json& given : Member(name, "given"))
                if (given.is_string())
                    out_.givenNames += (out_.givenNames.empty() ? "" : " ") + given.get<std::string>();
        }
        const Json& ids = Member(r, "identifier");
        if (ids.is_array() && !ids.empty()) {
            const auto record = std::find_if(ids.begin(), ids.end(), [](const Json& i) {
                const auto codes = CodesIn(Member(i, "type"), "http://terminology.hl7.org/CodeSystem/v2-0203");
                return std::find(codes.begin(), codes.end(), "MR") != codes.end();
            });
            out_.identifier = TextOf(record != ids.end() ? *record : ids.front(), "value");
        }
        const std::string birth = TextOf(r, "birthDate");
        if (IsWholeDate(birth)) patient_["birthday"] = birth;
        else if (!birth.empty()) Unused(where, "birth date \"" + birth + "\" is not a whole date");
        const std::string gender = TextOf(r, "gender");
        if (gender == "male") patient_["sex"] = "M";
        else if (gender == "female") patient_["sex"] = "F";
        else if (!gender.empty()) Unused(where, "gender \"" + gender + "\" cannot be entered: the case takes M or F");
    }

    void ReadObservation(const Json& r, const std::string& where) {
        const auto codes = CodesIn(Member(r, "code"), kLoincSystem);
        if (codes.empty()) return Unused(where, "no LOINC code");
        std::optional<Measure> measure;
        for (const std::string& c : codes)
            if (!measure) measure = MeasureOfLoinc(c);
        const FhirDrug* levelOf = DrugNamed(r);
        if (!measure && !levelOf) return Unused(where, "LOINC code " + codes.front() + " is not read");
        if (levelOf && levelOf != drug_)
            return Unused(where, std::string("a level of ") + levelOf->name + ", not of " + drug_->name);
        const std::string status = TextOf(r, "status");
        if (status != "final" && status != "amended" && status != "corrected")
            return Unused(where, "status \"" + status + "\" is not a final result");
        std::string problem;
        const auto quantity = ReadQuantity(Member(r, "valueQuantity"), problem);
        if (!quantity) return Unused(where, problem);
        const std::string when = TextOf(r, "effectiveDateTime");
        const auto time = ReadFhirTime(when);
        if (levelOf) return AddLevel(*quantity, time, where);
        // A measurement needs its day only, to find the latest.
        long long minute = 0;
        if (const auto* t = std::get_if<FhirTime>(&time)) minute = t->utcMinute;
        else if (IsWholeDate(when)) minute = std::get<FhirTime>(ReadFhirTime(when + "T00:00:00Z")).utcMinute;
        else return Unused(where, when.empty() ? "no effectiveDateTime" : std::get<std::string>(time));
        const auto value = MeasureInCaseUnit(*measure, quantity->value, quantity->ucum);
        if (!value) return Unused(where, "unit " + quantity->ucum + " is not a unit of " + MeasureName(*measure));
        const std::string earlier = std::string("an earlier ") + MeasureName(*measure) + "; the latest is used";
        const auto it = measures_.find(*measure);
        if (it != measures_.end() && it->second.minute > minute) return Unused(where, earlier);
        if (it != measures_.end()) Unused(it->second.where, earlier);
        measures_[*measure] = {minute, *value, where};
    }

    void AddLevel(const Quantity& q, const std::variant<FhirTime, std::string>& time, const std::string& where) {
        if (const auto* problem = std::get_if<std::string>(&time)) return Unused(where, "drawn " + *problem);
        const FhirTime t = std::get<FhirTime>(time);
        if (t.utcMinute > now_) return Unused(where, "drawn after the time of the import");
        const auto level = LevelInDrugUnit(*drug_, q.value, q.ucum);
        if (!level) return Unused(where, "unit " + q.ucum + " cannot be converted to " + drug_->levelUnit);
        if (!(*level > 0)) return Unused(where, "a level of 0 or below is not a measured level");
        levels_.push_back({t, *level, where});
    }

    // Dose and route of a dosage, held to the drug; false when unusable.
    bool ReadDoseAndRoute(const Json& r, const Json& dose, const Json& dosage, RegimenRow& row,
                          const std::string& where) {
        std::string problem;
        const auto q = ReadQuantity(dose, problem);
        if (!q) return Unused(where, "dose: " + problem), false;
        const auto amount = DoseInDrugUnit(*drug_, q->value, q->ucum);
        if (!amount || !(*amount > 0)) return Unused(where, "dose unit " + q->ucum + " is not a mass unit"), false;
        auto route = ReadRoute(dosage, problem);
        if (!route) return Unused(where, problem), false;
        if (!TakesRoute(*drug_, *route))
            return Unused(where, "route " + *route + " is not taken in the " + drug_->name + " history"), false;
        if (*route == "O" && std::string(drug_->code) == "PH") {
            route = PhenytoinOralForm(r);
            if (!route)
                return Unused(where,
                              "an oral phenytoin dose whose dose form is not read: the history takes capsule "
                              "(385049006), chewable tablet (66076007) or oral suspension (385024007), given "
                              "as Medication.form"),
                       false;
        }
        row.dose = *amount;
        row.route = *route;
        return true;
    }

    // Capsules hold phenytoin sodium, chewable tablets and the suspension
    // phenytoin itself: the history tells them apart by their route letter.
    std::optional<std::string> PhenytoinOralForm(const Json& r) const {
        const Json* medication = MedicationOf(r);
        if (!medication) return std::nullopt;
        for (const std::string& form : CodesIn(Member(*medication, "form"), kSnomedSystem))
            if (auto route = PhenytoinRouteOfForm(form)) return route;
        return std::nullopt;
    }

    void ReadAdministration(const Json& r, const std::string& where) {
        const std::string status = TextOf(r, "status");
        if (status != "completed") return Unused(where, "status \"" + status + "\": not a dose given in full");
        RegimenRow row;
        const Json& dosage = Member(r, "dosage");
        if (!ReadDoseAndRoute(r, Member(dosage, "dose"), dosage, row, where)) return;
        const Json& period = Member(r, "effectivePeriod");
        const std::string start =
            r.contains("effectiveDateTime") ? TextOf(r, "effectiveDateTime") : TextOf(period, "start");
        const auto time = ReadFhirTime(start);
        if (const auto* problem = std::get_if<std::string>(&time)) return Unused(where, "given " + *problem);
        row.start = std::get<FhirTime>(time);
        if (row.start.utcMinute > now_) return Unused(where, "given after the time of the import");
        if (row.route == "IV") {
            const auto hours = InfusionHours(period, Member(dosage, "rateQuantity"), row);
            if (!hours)
                return Unused(where,
                              "an IV dose without an infusion time (effectivePeriod end or a rate in mass per hour)");
            row.infusionHours = *hours;
        }
        row.status = "I";
        row.sources = {where};
        given_.push_back(row);
    }

    std::optional<double> InfusionHours(const Json& period, const Json& rate, const RegimenRow& row) const {
        const auto periodEnd = ReadFhirTime(TextOf(period, "end"));
        if (const auto* end = std::get_if<FhirTime>(&periodEnd)) {
            if (end->utcMinute > row.start.utcMinute) return (end->utcMinute - row.start.utcMinute) / 60.0;
            return std::nullopt;
        }
        std::string problem;
        const auto q = ReadQuantity(rate, problem);
        if (!q || q->ucum.size() < 3 || q->ucum.substr(q->ucum.size() - 2) != "/h") return std::nullopt;
        const auto perHour = DoseInDrugUnit(*drug_, q->value, q->ucum.substr(0, q->ucum.size() - 2));
        if (!perHour || !(*perHour > 0)) return std::nullopt;
        return row.dose / *perHour;
    }

    void ReadRequest(const Json& r, const std::string& where) {
        const std::string status = TextOf(r, "status");
        if (status != "active" && status != "completed")
            return Unused(where, "status \"" + status + "\": not a regimen being taken");
        const Json& instructions = Member(r, "dosageInstruction");
        if (!instructions.is_array() || instructions.size() != 1)
            return Unused(where, "not exactly one dosageInstruction");
        const Json& dosage = instructions.front();
        const Json& repeat = Member(Member(dosage, "timing"), "repeat");
        RegimenRow row;
        const Json& doseAndRate = Member(dosage, "doseAndRate");
        if (!doseAndRate.is_array() || doseAndRate.size() != 1) return Unused(where, "not exactly one doseAndRate");
        if (!ReadDoseAndRoute(r, Member(doseAndRate.front(), "doseQuantity"), dosage, row, where)) return;
        const auto start = ReadFhirTime(TextOf(Member(repeat, "boundsPeriod"), "start"));
        if (const auto* problem = std::get_if<std::string>(&start)) return Unused(where, "regimen start " + *problem);
        row.start = std::get<FhirTime>(start);
        const auto interval = IntervalMinutes(repeat);
        if (!interval)
            return Unused(where, "timing gives no interval in whole minutes (frequency, period, periodUnit)");
        row.intervalMinutes = *interval;
        if (row.route == "IV") {
            const auto minutes = DurationMinutes(repeat);
            if (!minutes) return Unused(where, "an IV regimen without an infusion time (timing duration)");
            row.infusionHours = *minutes / 60;
        }
        long long count = 0;
        const Json& given = Member(repeat, "count");
        const auto end = ReadFhirTime(TextOf(Member(repeat, "boundsPeriod"), "end"));
        if (given.is_number_integer() && given.get<long long>() > 0) count = given.get<long long>();
        else if (const auto* e = std::get_if<FhirTime>(&end); e && e->utcMinute >= row.start.utcMinute)
            count = (e->utcMinute - row.start.utcMinute) / row.intervalMinutes + 1;
        else return Unused(where, "the regimen has neither a count nor an end");
        if (row.start.utcMinute > now_) return Unused(where, "starts after the time of the import");
        const long long taken = std::min(count, (now_ - row.start.utcMinute) / row.intervalMinutes + 1);
        if (taken < count)
            Unused(where, std::to_string(count - taken) +
                              " of its doses fall after the time of the import and are not counted");
        if (taken > kHistoryDoseEvents) return Unused(where, "over the history's limit of 1000 doses");
        row.doses = static_cast<int>(taken);
        row.status = "O";
        row.sources = {where};
        regimens_.push_back(row);
    }

    static std::optional<double> UnitMinutes(const std::string& unit) {
        if (unit == "min") return 1;
        if (unit == "h") return 60;
        if (unit == "d") return 1440;
        if (unit == "wk") return 10080;
        return std::nullopt;
    }

    static std::optional<long long> IntervalMinutes(const Json& repeat) {
        const Json& period = Member(repeat, "period");
        const Json& frequency = Member(repeat, "frequency");
        const auto unit = UnitMinutes(TextOf(repeat, "periodUnit"));
        if (!period.is_number() || !unit || repeat.contains("periodMax") || repeat.contains("frequencyMax"))
            return std::nullopt;
        const long long times = frequency.is_null()             ? 1
                                : frequency.is_number_integer() ? frequency.get<long long>()
                                                                : 0;
        const double minutes = period.get<double>() * *unit;
        if (times < 1 || !(minutes > 0) || minutes > 1e9) return std::nullopt;
        const double each = minutes / static_cast<double>(times);
        if (each != std::floor(each)) return std::nullopt;
        return static_cast<long long>(each);
    }

    static std::optional<double> DurationMinutes(const Json& repeat) {
        const Json& duration = Member(repeat, "duration");
        const auto unit = UnitMinutes(TextOf(repeat, "durationUnit"));
        if (!duration.is_number() || !unit || !(duration.get<double>() > 0)) return std::nullopt;
        return duration.get<double>() * *unit;
    }

    const Json& entries_;
    long long now_;
    const FhirDrug* drug_ = nullptr;
    bool seen_patient_ = false;
    std::string patient_ref_, patient_url_;
    std::map<std::string, const Json*> medications_;
    FhirImport out_;
    Json patient_ = Json::object();
    std::map<Measure, Latest> measures_;
    std::vector<RegimenRow> given_, regimens_;
    std::vector<MeasuredLevel> levels_;
};
}  // namespace

namespace {
const Json& EntriesOf(const Json& bundle) {
    if (!bundle.is_object() || TextOf(bundle, "resourceType") != "Bundle")
        throw FhirBundleError("not a FHIR R4 Bundle: resourceType must be \"Bundle\"");
    static const Json none = Json::array();
    const Json& entries = bundle.contains("entry") ? bundle.at("entry") : none;
    if (!entries.is_array()) throw FhirBundleError("Bundle.entry must be a list");
    return entries;
}
}  // namespace

std::vector<const FhirDrug*> DrugsInBundle(const Json& bundle) { return BundleReader(EntriesOf(bundle), 0).Drugs(); }

FhirImport ImportFhirBundle(const Json& bundle, long long nowUtcMinute, const std::string& drugCode) {
    return BundleReader(EntriesOf(bundle), nowUtcMinute).Read(drugCode);
}
