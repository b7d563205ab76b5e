#pragma once
// A new patient's case from the hospital record: a FHIR R4 bundle read into
// a case record, and the sheet the pharmacist reads before the entry and
// history pages are filled with it. Nothing here is saved.
#include <QString>
#include <variant>

#include "app/kit/review_sheet.h"
#include "pages/patient/entry_values.h"
#include "records/case_record.h"

class QWidget;

struct HospitalCase {
    CaseRecord record;  // `base` reset for a new patient, with what the bundle gives
    ReviewSheet review;
};

// The pharmacist cancelled the choice of the drug to import.
struct ImportCancelled {};

// Reads the bundle file at `path`, asking over `parent` which drug to import
// when it holds doses or levels of several. `now` is the program's moment
// (ages), `nowUtcMinute` the same instant in UTC minutes (no history after
// it). The text, when returned, is the one message for a file that is no
// usable bundle.
std::variant<HospitalCase, QString, ImportCancelled> ReadHospitalCase(QWidget* parent, const QString& path,
                                                                      CaseRecord base, double now,
                                                                      long long nowUtcMinute);

// The entry page's fields for an imported record: a sex or a renal value
// the bundle does not give is left unchosen and empty, never defaulted, and
// an albumin is shown for phenytoin only, as the page takes it.
EntryValues ImportedEntryValues(const CaseRecord& r);
