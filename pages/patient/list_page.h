#pragma once
// Page 135: the patients found, each followed by their cases; Enter opens
// the selected patient (a new case) or case, Delete and Delete All remove
// stored patients and cases.
#include <cstdint>
#include <vector>

#include "app/kit/page_base.h"
#include "records/db/patient_search.h"

class QLabel;
class QTableWidget;

class ListPage : public KinevoPage {
    Q_OBJECT
public:
    explicit ListPage(QWidget* parent = nullptr);
    // Set by the search page before it closes into this page; kept between
    // showings.
    void SetSearch(const PatientSearch& search) { search_ = search; }
    const PatientSearch& Search() const { return search_; }
    // Appends a grid row: a patient row has its name in column 0 and its
    // patient record number as key, a case row its case number.
    void AddRow(const QStringList& cells, std::int32_t key);
    void ClearRows();
    QTableWidget* Grid() const { return grid_; }

    // A database error while the list was built ends the page at once.
    int exec() override;

protected:
    void OnOpen() override;
    void OnEnter() override { OpenSelectedRow(); }

private:
    // Fills the grid from the search; false after a database error, which
    // it has shown.
    bool Build();
    void OpenSelectedRow();
    void DeleteSelected();
    void DeleteAll();
    // Loads the patient (and case) of `row` into the case record; false after
    // a database error, which it has shown.
    bool Reload(int row, std::int32_t patient, std::int32_t caseNumber);
    QString Cell(int row, int column) const;
    // -1 when no row is selected.
    int SelectedRow() const;
    // The nearest patient row at or above `row`; -1 when there is none.
    int PatientRowOf(int row) const;
    void ShowCounts(int patients, int cases);
    // Each row as high as its text needs, as resizing rows to their
    // contents gives them.
    void FitRowHeights();

    PatientSearch search_;
    QTableWidget* grid_;
    QLabel *today_, *status_;
    std::vector<std::int32_t> rowKeys_;
    bool buildFailed_ = false;
};
