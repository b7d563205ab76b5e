#pragma once
// The fitted parameters as the detailed results page lists them: the
// population value and each fitted value beside its range.
#include <QTableWidget>

struct CaseRecord;

class ResultsParameterTable : public QTableWidget {
    Q_OBJECT
public:
    explicit ResultsParameterTable(QWidget* parent);
    void ShowCase(const CaseRecord& r);
};
