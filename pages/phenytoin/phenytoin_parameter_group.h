#pragma once
// The current parameter set as both phenytoin pages show it: Vd (L and
// L/kg), Km, Vmax (mg/day and mg/day/kg), the product's salt factor and F.
// Vd, Km and Vmax can be typed only while the Population set is current.
#include <QGroupBox>
#include <vector>

#include "records/page_parameter_texts.h"

class QLabel;
class QLineEdit;
struct CaseRecord;

class PhenytoinParameterGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit PhenytoinParameterGroup(QWidget* parent);
    void Show(const CaseRecord& r);
    // The typed Vd, Km and Vmax into the current set (the Cl slot holds Km).
    void Store(CaseRecord& r);
    std::vector<QLineEdit*> Fields() const { return {vd_, km_, vm_}; }
    // The texts the save stores for these pages.
    PageParameterTexts Shown() const;

private:
    void ShowPerKilogram(double weight);
    QLineEdit *vd_, *km_, *vm_, *salt_, *f_;
    QLabel *vdPerKg_, *vmPerKg_;
    double F_ = 0;
};
