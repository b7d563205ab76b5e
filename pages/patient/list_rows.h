#pragma once
// The texts of the patient list's grid rows: a patient row, then one row per
// case under it.
#include <QStringList>

#include "records/db/patient_search.h"

inline constexpr int kListColumns = 8;
// Column widths in twips (1/1440 inch).
inline constexpr int kListColumnTwips[kListColumns] = {1700, 1650, 1200, 1275, 1000, 1500, 1200, 1300};
// A width in twips as pixels on a 96 dpi screen.
int TwipsToPixels(int twips);

// Name, ID, sex, birthday, three empty columns, the date stored.
QStringList PatientCells(const ListedPatient& p);
// Empty, "--" drug name, user's choice name (ZZ), weight, height, SCr or
// CLcr, albumin (PH), the date created.
QStringList CaseCells(const ListedCase& c);
