#pragma once
// What the report page shows of the report: the current parameter set and
// the recommended regimen with its predicted levels.
#include <QGroupBox>

class QLabel;
class QLineEdit;
struct CaseRecord;
struct ReportRegimen;

class ReportParameterGroup : public QGroupBox {
public:
    explicit ReportParameterGroup(QWidget* parent);
    // `caption`: the fit type's words and the date.
    void Show(const CaseRecord& r, const QString& caption);

private:
    QLineEdit *vd_, *clOrKm_, *cf_, *f_, *kdOrVm_, *halfLifeOrFf_;
    QLabel *vdPerKg_, *clOrKmLabel_, *clOrKmUnit_, *kdOrVmLabel_, *kdOrVmUnit_, *halfLifeOrFfLabel_, *halfLifeOrFfUnit_;
};

class ReportRegimenGroup : public QGroupBox {
public:
    explicit ReportRegimenGroup(QWidget* parent);
    // `regimen` as re-formatted for the report.
    void Show(const ReportRegimen& regimen, const CaseRecord& r);

private:
    QLineEdit *dose_, *interval_, *infusion_, *dose2_, *interval2_;
    QLineEdit *peak_, *post_, *trough_, *average_, *adjustedAverage_;
    QLabel *doseUnit_, *intervalUnit_, *dose2Unit_, *uneven_, *levels_, *postLabel_;
};
