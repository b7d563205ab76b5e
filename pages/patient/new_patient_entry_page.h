#pragma once
// Page 137: a new patient and the first case.
#include "pages/patient/entry_page.h"

class NewPatientEntryPage : public EntryPage {
    Q_OBJECT
public:
    explicit NewPatientEntryPage(QWidget* parent = nullptr);

protected:
    Opening Load(EntryKeys& keys) override;
    void Store(CaseRecord& rec, EntryKeys& keys, const EntryChanges& changes) override;
    void AfterSave() override;
};
