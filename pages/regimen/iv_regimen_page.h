#pragma once
// Page 141: the design of an intravenous regimen.
#include "pages/regimen/regimen_page.h"

class IvRegimenPage : public RegimenPage {
    Q_OBJECT
public:
    explicit IvRegimenPage(QWidget* parent = nullptr);
};
