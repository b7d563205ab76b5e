#pragma once
// The parameters saved with the case, beside the current set, and the
// button that takes them over. Hidden without case numbers or a saved row.
#include <QGroupBox>
#include <optional>

#include "records/db/record_sets.h"

class QLineEdit;
struct CaseRecord;

class PhenytoinSavedGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit PhenytoinSavedGroup(QWidget* parent);
    // Reads the row of the record's case from the database.
    void Load(const CaseRecord& r);

signals:
    // The saved Vd, Km and Vmax are now the current set's.
    void imported();

private:
    void Import();
    std::optional<ParameterRow> row_;
    QLineEdit *vd_, *km_, *vm_, *f_, *albumin_;
};
