#pragma once
// The regimen and level fields of a level forecast page, behind the page's
// product list and parameters: the page keeps and shows them again through
// this face alone.
#include <QSet>
#include <QWidget>

#include "engine/forecast_model.h"
#include "pages/widgets/page_widgets.h"

class FieldWatch;
class QGroupBox;
class QLabel;
class QLineEdit;
struct CaseRecord;

class ForecastForm : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    virtual void Watch(FieldWatch& watch) = 0;
    // Units of the case's drug and the fields of its route.
    virtual void ShowCase(const CaseRecord& r) = 0;
    // Recomputes what `groups` (the groups typed in) call for.
    virtual void Compute(const RegimenModel& m, const CaseRecord& r, const QSet<int>& groups) = 0;
    // The uneven rows taking part (0 for a regular regimen).
    virtual int UnevenCount() const { return 0; }
    // The texts of all fields and of the labels that follow the results, and back.
    virtual FieldTexts Texts() const = 0;
    virtual void Show(const FieldTexts& texts, int unevenCount) = 0;
    virtual void Clear() = 0;
    // Empties the results and the message, leaving what was typed.
    virtual void ClearResults() = 0;

protected:
    // Lays out `group` with the dose and interval rows first; the rows
    // that follow go on through the result.
    FieldRows DoseAndInterval(QGroupBox* group);
    QLineEdit *dose_ = nullptr, *interval_ = nullptr;
    QLabel* doseUnit_ = nullptr;
};
