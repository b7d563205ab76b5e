#include "pages/entry_pages.h"

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"

EntryPage::EntryPage(int dialogId, const QString& heading, QWidget* parent)
    : KinevoPage(dialogId, heading, std::nullopt, parent) {
    Body()->addStretch(1);
    AddButton("&Previous", "previous", [this] { Leave(code::kSearch); });
    AddButton("&Next", "next", [this] { Leave(DrugPageCode()); });
}

NewPatientEntryPage::NewPatientEntryPage(QWidget* parent) : EntryPage(137, "New Patient", parent) {}

void NewPatientEntryPage::OnOpen() { Nav().newPatientSaved = false; }

NewCaseEntryPage::NewCaseEntryPage(QWidget* parent) : EntryPage(136, "New Case", parent) {}

ExistingCaseEntryPage::ExistingCaseEntryPage(QWidget* parent) : EntryPage(138, "Existing Case", parent) {}
