#pragma once
// The six record set classes, one per table, each with one member per column
// in binding order (see record_set.h for the operations):
//
//   Cpbasicset  PatientBasic                 8 columns
//   Cpcaseset   PatientCase                 26 columns
//   Cpcasedhset PatientCase-dosing history  11 columns
//   Cpcaselhset PatientCase-level history    9 columns
//   Cpcasepset  PatientCase-parameter       17 columns
//   Cpcaseucset PatientCase-User Choice     18 columns
//
// Kinds: text std::string, long std::int32_t, boolean bool, date-time a
// moment (double, day number from 1899-12-30; a time of day sits on day 0).
// SharedRecordSets() holds the process-wide objects; Configure Database
// recreates them so no table stays open while the database is copied.
#include <cstdint>
#include <string>
#include <vector>

#include "records/db/record_set.h"

struct PatientBasicRow {
    static constexpr const char* kTable = "PatientBasic";
    static const std::vector<ColumnBinding<PatientBasicRow>>& Columns();
    std::int32_t PATIENT_REC_Num = 0;
    std::string Patient_ID;
    std::string PATIENT_FIRST_NAME;
    std::string PATIENT_LAST_NAME;
    double DATE_STORED = 0;
    double BIRTHDAY = 0;
    bool SEX = false;
    std::string Patient_Note;
};

struct PatientCaseRow {
    static constexpr const char* kTable = "PatientCase";
    static const std::vector<ColumnBinding<PatientCaseRow>>& Columns();
    std::int32_t Patient_Rec_Num = 0;
    double Date_created = 0;
    std::int32_t Case_number = 0;
    std::string Wt;
    bool kg = true;
    std::string Ht;
    bool cm = true;
    std::string SCr, CrCl, Albumin;
    std::string Drug_ID;
    std::int32_t factor_1 = 0, factor_2 = 0;
    std::int32_t Fit = 0;
    std::string Dose, Form, Route, Inf_time, Interval, Peak, Trough, Post_time, Post_level;
    std::string Average_Obs, Average_Adj;
    std::string Case_Note;
};

struct DosingHistoryRow {
    static constexpr const char* kTable = "PatientCase-dosing history";
    static const std::vector<ColumnBinding<DosingHistoryRow>>& Columns();
    std::int32_t Patient_Rec_Num = 0;
    std::int32_t Case_number = 0;
    std::int32_t Dosing_Hx_Num = 0;
    double Date = 0;
    double Time = 0;
    std::string Dose, Route, Infusion_time, Interval;
    std::int32_t Doses = 0;
    bool Outpat = false;
};

struct LevelHistoryRow {
    static constexpr const char* kTable = "PatientCase-level history";
    static const std::vector<ColumnBinding<LevelHistoryRow>>& Columns();
    std::int32_t Patient_Rec_Num = 0;
    std::int32_t Case_number = 0;
    std::int32_t Level_Hx_Num = 0;
    double Date = 0;
    double time = 0;
    std::string Level, Level_Init, Level_LS, Level_Bayes;
};

struct ParameterRow {
    static constexpr const char* kTable = "PatientCase-parameter";
    static const std::vector<ColumnBinding<ParameterRow>>& Columns();
    std::int32_t Patient_Rec_Num = 0;
    std::int32_t Case_number = 0;
    std::int32_t Cur_fit_method = 0;
    std::string F, Vd;
    bool Vd_Unit = true;
    std::string Cl;
    bool Cl_Unit = true;
    std::string CF;
    std::int32_t Vm = 0, Km = 0;
    std::string Init_f_sd, init_vd_sd, init_cl_sd, init_cf_sd, init_vm_sd, init_km_sd;
};

struct UserChoiceRow {
    static constexpr const char* kTable = "PatientCase-User Choice";
    static const std::vector<ColumnBinding<UserChoiceRow>>& Columns();
    std::int32_t Patient_Rec_Num = 0;
    std::int32_t Case_Number = 0;
    std::string Drug_Name;
    bool Unit = true;
    std::string IV_Salt, IM_ka, IM_Salt, IM_F, PO_Form, PO_Ka, PO_Salt, PO_F;
    std::string max, min, Time_wt, Var_err, K21, Vc;
};

class Cpbasicset : public RecordSet<PatientBasicRow> {};
class Cpcaseset : public RecordSet<PatientCaseRow> {};
class Cpcasedhset : public RecordSet<DosingHistoryRow> {};
class Cpcaselhset : public RecordSet<LevelHistoryRow> {};
class Cpcasepset : public RecordSet<ParameterRow> {};
class Cpcaseucset : public RecordSet<UserChoiceRow> {};

struct RecordSets {
    Cpbasicset basic;
    Cpcaseset cases;
    Cpcasedhset dosing;
    Cpcaselhset levels;
    Cpcasepset parameters;
    Cpcaseucset userChoice;
};
RecordSets& SharedRecordSets();
// Closes and replaces the six shared objects (Configure Database, Delete All).
void RecreateSharedRecordSets();

// The filters the program uses: none (a set opened only to add rows), one
// patient, one case.
RowQuery NoRows();
RowQuery PatientFilter(std::int32_t patient);
// The case tables name their case column "Case number", all but one.
inline constexpr const char* kCaseNumber = "Case number";
inline constexpr const char* kUserChoiceCaseNumber = "Case Number";
RowQuery CaseFilter(std::int32_t patient, std::int32_t caseNumber, const char* caseColumn = kCaseNumber);
