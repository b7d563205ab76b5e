#pragma once
// Page 142: the design of an oral or intramuscular regimen.
#include "pages/regimen/regimen_page.h"

class OralRegimenPage : public RegimenPage {
    Q_OBJECT
public:
    explicit OralRegimenPage(QWidget* parent = nullptr);
};
