#pragma once
// Page 136: a new case of a listed patient.
#include "pages/patient/entry_page.h"

class NewCaseEntryPage : public EntryPage {
    Q_OBJECT
public:
    explicit NewCaseEntryPage(QWidget* parent = nullptr);

protected:
    Opening Load(EntryKeys& keys) override;
    void Store(CaseRecord& rec, EntryKeys& keys, const EntryChanges& changes) override;
    void AfterSave() override;
};
