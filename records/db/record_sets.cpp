#include "records/db/record_sets.h"

#include <memory>

// Column names as bound, brackets dropped, exactly as stored: a server
// tells "Case number" from "Case Number".
const std::vector<ColumnBinding<PatientBasicRow>>& PatientBasicRow::Columns() {
    using R = PatientBasicRow;
    static const std::vector<ColumnBinding<R>> c = {
        {"PATIENT REC Num", &R::PATIENT_REC_Num},
        {"Patient ID", &R::Patient_ID},
        {"PATIENT FIRST NAME", &R::PATIENT_FIRST_NAME},
        {"PATIENT LAST NAME", &R::PATIENT_LAST_NAME},
        {"DATE_STORED", &R::DATE_STORED},
        {"BIRTHDAY", &R::BIRTHDAY},
        {"SEX", &R::SEX},
        {"Patient Note", &R::Patient_Note},
    };
    return c;
}

const std::vector<ColumnBinding<PatientCaseRow>>& PatientCaseRow::Columns() {
    using R = PatientCaseRow;
    static const std::vector<ColumnBinding<R>> c = {
        {"Patient Rec Num", &R::Patient_Rec_Num},
        {"Date created", &R::Date_created},
        {"Case number", &R::Case_number},
        {"Wt", &R::Wt},
        {"kg", &R::kg},
        {"Ht", &R::Ht},
        {"cm", &R::cm},
        {"SCr", &R::SCr},
        {"CrCl", &R::CrCl},
        {"Albumin", &R::Albumin},
        {"Drug ID", &R::Drug_ID},
        {"factor 1", &R::factor_1},
        {"factor 2", &R::factor_2},
        {"Fit", &R::Fit},
        {"Dose", &R::Dose},
        {"Form", &R::Form},
        {"Route", &R::Route},
        {"Inf_time", &R::Inf_time},
        {"Interval", &R::Interval},
        {"Peak", &R::Peak},
        {"Trough", &R::Trough},
        {"Post_time", &R::Post_time},
        {"Post_level", &R::Post_level},
        {"Average-Obs", &R::Average_Obs},
        {"Average-Adj", &R::Average_Adj},
        {"Case Note", &R::Case_Note},
    };
    return c;
}

const std::vector<ColumnBinding<DosingHistoryRow>>& DosingHistoryRow::Columns() {
    using R = DosingHistoryRow;
    static const std::vector<ColumnBinding<R>> c = {
        {"Patient Rec Num", &R::Patient_Rec_Num},
        {"Case number", &R::Case_number},
        {"Dosing Hx Num", &R::Dosing_Hx_Num},
        {"Date", &R::Date},
        {"Time", &R::Time},
        {"Dose", &R::Dose},
        {"Route", &R::Route},
        {"Infusion time", &R::Infusion_time},
        {"Interval", &R::Interval},
        {"Doses", &R::Doses},
        {"Outpat", &R::Outpat},
    };
    return c;
}

const std::vector<ColumnBinding<LevelHistoryRow>>& LevelHistoryRow::Columns() {
    using R = LevelHistoryRow;
    static const std::vector<ColumnBinding<R>> c = {
        {"Patient Rec Num", &R::Patient_Rec_Num},
        {"Case number", &R::Case_number},
        {"Level Hx Num", &R::Level_Hx_Num},
        {"Date", &R::Date},
        {"time", &R::time},
        {"Level", &R::Level},
        {"Level_Init", &R::Level_Init},
        {"Level_LS", &R::Level_LS},
        {"Level_Bayes", &R::Level_Bayes},
    };
    return c;
}

const std::vector<ColumnBinding<ParameterRow>>& ParameterRow::Columns() {
    using R = ParameterRow;
    static const std::vector<ColumnBinding<R>> c = {
        {"Patient Rec Num", &R::Patient_Rec_Num},
        {"Case number", &R::Case_number},
        {"Cur-fit-method", &R::Cur_fit_method},
        {"F", &R::F},
        {"Vd", &R::Vd},
        {"Vd_Unit", &R::Vd_Unit},
        {"Cl", &R::Cl},
        {"Cl_Unit", &R::Cl_Unit},
        {"CF", &R::CF},
        {"Vm", &R::Vm},
        {"Km", &R::Km},
        {"Init_f_sd", &R::Init_f_sd},
        {"init_vd_sd", &R::init_vd_sd},
        {"init_cl_sd", &R::init_cl_sd},
        {"init_cf_sd", &R::init_cf_sd},
        {"init_vm_sd", &R::init_vm_sd},
        {"init_km_sd", &R::init_km_sd},
    };
    return c;
}

const std::vector<ColumnBinding<UserChoiceRow>>& UserChoiceRow::Columns() {
    using R = UserChoiceRow;
    static const std::vector<ColumnBinding<R>> c = {
        {"Patient Rec Num", &R::Patient_Rec_Num},
        {"Case Number", &R::Case_Number},
        {"Drug_Name", &R::Drug_Name},
        {"Unit", &R::Unit},
        {"IV-Salt", &R::IV_Salt},
        {"IM-ka", &R::IM_ka},
        {"IM-Salt", &R::IM_Salt},
        {"IM-F", &R::IM_F},
        {"PO-Form", &R::PO_Form},
        {"PO-Ka", &R::PO_Ka},
        {"PO-Salt", &R::PO_Salt},
        {"PO-F", &R::PO_F},
        {"max", &R::max},
        {"min", &R::min},
        {"Time_wt", &R::Time_wt},
        {"Var_err", &R::Var_err},
        {"K21", &R::K21},
        {"Vc", &R::Vc},
    };
    return c;
}

namespace {
std::unique_ptr<RecordSets>& SharedHolder() {
    static auto holder = std::make_unique<RecordSets>();
    return holder;
}
}  // namespace

RecordSets& SharedRecordSets() { return *SharedHolder(); }

void RecreateSharedRecordSets() { SharedHolder() = std::make_unique<RecordSets>(); }

RowQuery NoRows() { return {"1 = 0", {}, ""}; }

RowQuery PatientFilter(std::int32_t patient) { return {"\"Patient Rec Num\" = ?", {std::int64_t{patient}}, ""}; }

RowQuery CaseFilter(std::int32_t patient, std::int32_t caseNumber, const char* caseColumn) {
    return {std::string("\"Patient Rec Num\" = ? AND \"") + caseColumn + "\" = ?",
            {std::int64_t{patient}, std::int64_t{caseNumber}},
            ""};
}
