#pragma once
// Page 138: an existing case of a listed patient.
#include "pages/patient/entry_page.h"

class ExistingCaseEntryPage : public EntryPage {
    Q_OBJECT
public:
    explicit ExistingCaseEntryPage(QWidget* parent = nullptr);

protected:
    Opening Load(EntryKeys& keys) override;
    void Store(CaseRecord& rec, EntryKeys& keys, const EntryChanges& changes) override;
    QString NoDrugMessage() const override { return "You must select a kind of Drug!"; }
};
