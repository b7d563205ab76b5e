#include "pages/regimen/iv_regimen_page.h"

IvRegimenPage::IvRegimenPage(QWidget* parent)
    : RegimenPage(PageId::IvRegimen, "Dosage Regimen Forecast - Intravenous", true, parent) {}
