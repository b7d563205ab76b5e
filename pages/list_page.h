#pragma once
// Page 135: the patients found, each followed by their cases; Enter opens
// the selected patient (a new case) or case.
#include <cstdint>
#include <vector>

#include "app/kit/page_base.h"

class QTableWidget;

class ListPage : public KinevoPage {
    Q_OBJECT
public:
    explicit ListPage(QWidget* parent = nullptr);
    // Appends a grid row: a patient row has its name in column 0 and its
    // patient record number as key, a case row its case number.
    void AddRow(const QStringList& cells, std::int32_t key);
    void ClearRows();
    QTableWidget* Grid() const { return grid_; }

protected:
    void OnEnter() override { OpenSelectedRow(); }

private:
    void OpenSelectedRow();
    // Loads the patient (and case) of `row` into the case record; false after
    // a database error, which it has shown.
    bool Reload(int row, std::int32_t patient, std::int32_t caseNumber);
    QString Cell(int row, int column) const;
    QTableWidget* grid_;
    std::vector<std::int32_t> rowKeys_;
};
