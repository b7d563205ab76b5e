#include "pages/regimen/oral_regimen_page.h"

OralRegimenPage::OralRegimenPage(QWidget* parent)
    : RegimenPage(PageId::OralRegimen, "Dosage Regimen Forecast - Oral and Intramuscular", false, parent) {}
