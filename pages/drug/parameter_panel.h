#pragma once
// The current parameter set as the forecast and regimen pages show it: Vd
// with its value per kg, Cl, CF in %, kd, t1/2, the product's salt factor
// and F, and the case's warning line. Vd, Cl and CF may be typed over while
// the Population set is current; they are then written back into it.
#include <QGroupBox>

#include "engine/forecast_model.h"
#include "records/page_parameter_texts.h"

class FieldWatch;
class QLabel;
class QLineEdit;
struct CaseRecord;

// The model the page computes with: the current set, the product's salt
// factor and ka, and the F the bioavailability rule chooses.
RegimenModel PageModel(const CaseRecord& r);

class ParameterPanel : public QGroupBox {
    Q_OBJECT
public:
    // `pageCode` names the page to the warning text (71, 72, 81 or 82).
    ParameterPanel(int pageCode, QWidget* parent);
    // The Vd, Cl and CF fields with their checks, in `group`.
    void Watch(FieldWatch& watch, int group);
    // Shows the current set of `r`; editable only for the Population set.
    void Show(const CaseRecord& r);
    // Writes the typed Vd, Cl and CF into the Population set and refreshes
    // what derives from them.
    void Apply(CaseRecord& r);
    // Levels are worked out only for Vd >= 0, Cl > 0 and CF >= 0.
    bool CanCompute(const CaseRecord& r) const;
    // The texts the end page stores.
    PageParameterTexts Texts() const;
    QLineEdit* VdField() const { return vd_; }

private:
    void ShowDerived(const CaseRecord& r);

    int pageCode_;
    QLineEdit *vd_, *cl_, *cf_, *kd_, *halfLife_, *salt_, *f_;
    QLabel *vdLabel_, *kdLabel_, *perKg_, *warning_;
};
