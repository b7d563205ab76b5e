#pragma once
// The parameters stored with the case, shown beside the current ones with
// the fit they came from and the date they were saved, and the button that
// takes them over. Hidden while the case has none stored.
#include <QGroupBox>
#include <optional>

#include "records/parameter_set.h"

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
struct CaseRecord;

// "LS Parameters Saved On 03/01/2012": the fit a stored row came from and its date.
QString SavedOnCaption(int fitMethod, const std::string& dateText);

class SavedParameters : public QGroupBox {
    Q_OBJECT
public:
    explicit SavedParameters(QWidget* parent);
    // Reads the case's stored row; hides the group when there is none.
    void Load(const CaseRecord& r);
    // Vd, Cl and CF (a fraction) as stored.
    std::optional<ParameterSet> Saved() const { return saved_; }

signals:
    void importRequested();

private:
    QLineEdit *vd_, *cl_, *cf_, *kd_, *halfLife_, *f_;
    QLabel* perKg_;
    std::optional<ParameterSet> saved_;
};
