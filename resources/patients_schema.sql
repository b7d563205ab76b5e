-- The patient database: six tables, columns in binding order.
-- Kinds: text TEXT, long INTEGER, boolean INTEGER 0/1,
-- date-time TEXT 'YYYY-MM-DD HH:MM:SS' (a time of day sits on 1899-12-30).
-- Keys are handed out by the program; the unique indexes only refuse a
-- duplicate, so two programs on one file can never both store the same key.

CREATE TABLE "PatientBasic" (
    "PATIENT REC Num" INTEGER NOT NULL,
    "Patient ID" TEXT,
    "PATIENT FIRST NAME" TEXT,
    "PATIENT LAST NAME" TEXT,
    "DATE_STORED" TEXT,
    "BIRTHDAY" TEXT,
    "SEX" INTEGER,
    "Patient Note" TEXT
);
CREATE UNIQUE INDEX "PatientBasic key" ON "PatientBasic" ("PATIENT REC Num");
CREATE INDEX "PatientBasic last name" ON "PatientBasic" ("PATIENT LAST NAME" COLLATE NOCASE);

CREATE TABLE "PatientCase" (
    "Patient Rec Num" INTEGER NOT NULL,
    "Date created" TEXT,
    "Case number" INTEGER NOT NULL,
    "Wt" TEXT,
    "kg" INTEGER,
    "Ht" TEXT,
    "cm" INTEGER,
    "SCr" TEXT,
    "CrCl" TEXT,
    "Albumin" TEXT,
    "Drug ID" TEXT,
    "factor 1" INTEGER,
    "factor 2" INTEGER,
    "Fit" INTEGER,
    "Dose" TEXT,
    "Form" TEXT,
    "Route" TEXT,
    "Inf_time" TEXT,
    "Interval" TEXT,
    "Peak" TEXT,
    "Trough" TEXT,
    "Post_time" TEXT,
    "Post_level" TEXT,
    "Average-Obs" TEXT,
    "Average-Adj" TEXT,
    "Case Note" TEXT
);
CREATE UNIQUE INDEX "PatientCase key" ON "PatientCase" ("Patient Rec Num", "Case number");

CREATE TABLE "PatientCase-dosing history" (
    "Patient Rec Num" INTEGER NOT NULL,
    "Case number" INTEGER NOT NULL,
    "Dosing Hx Num" INTEGER NOT NULL,
    "Date" TEXT,
    "Time" TEXT,
    "Dose" TEXT,
    "Route" TEXT,
    "Infusion time" TEXT,
    "Interval" TEXT,
    "Doses" INTEGER,
    "Outpat" INTEGER
);
CREATE UNIQUE INDEX "PatientCase-dosing history key"
    ON "PatientCase-dosing history" ("Patient Rec Num", "Case number", "Dosing Hx Num");

CREATE TABLE "PatientCase-level history" (
    "Patient Rec Num" INTEGER NOT NULL,
    "Case number" INTEGER NOT NULL,
    "Level Hx Num" INTEGER NOT NULL,
    "Date" TEXT,
    "time" TEXT,
    "Level" TEXT,
    "Level_Init" TEXT,
    "Level_LS" TEXT,
    "Level_Bayes" TEXT
);
CREATE UNIQUE INDEX "PatientCase-level history key"
    ON "PatientCase-level history" ("Patient Rec Num", "Case number", "Level Hx Num");

CREATE TABLE "PatientCase-parameter" (
    "Patient Rec Num" INTEGER NOT NULL,
    "Case number" INTEGER NOT NULL,
    "Cur-fit-method" INTEGER,
    "F" TEXT,
    "Vd" TEXT,
    "Vd_Unit" INTEGER,
    "Cl" TEXT,
    "Cl_Unit" INTEGER,
    "CF" TEXT,
    "Vm" INTEGER,
    "Km" INTEGER,
    "Init_f_sd" TEXT,
    "init_vd_sd" TEXT,
    "init_cl_sd" TEXT,
    "init_cf_sd" TEXT,
    "init_vm_sd" TEXT,
    "init_km_sd" TEXT
);
CREATE UNIQUE INDEX "PatientCase-parameter key"
    ON "PatientCase-parameter" ("Patient Rec Num", "Case number");

CREATE TABLE "PatientCase-User Choice" (
    "Patient Rec Num" INTEGER NOT NULL,
    "Case Number" INTEGER NOT NULL,
    "Drug_Name" TEXT,
    "Unit" INTEGER,
    "IV-Salt" TEXT,
    "IM-ka" TEXT,
    "IM-Salt" TEXT,
    "IM-F" TEXT,
    "PO-Form" TEXT,
    "PO-Ka" TEXT,
    "PO-Salt" TEXT,
    "PO-F" TEXT,
    "max" TEXT,
    "min" TEXT,
    "Time_wt" TEXT,
    "Var_err" TEXT,
    "K21" TEXT,
    "Vc" TEXT
);
CREATE UNIQUE INDEX "PatientCase-User Choice key"
    ON "PatientCase-User Choice" ("Patient Rec Num", "Case Number");
