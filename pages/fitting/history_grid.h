#pragma once
// The history page's grid: 10 dose rows and 10 level rows of edit cells,
// each cell checked as it is left with Tab, Enter or an arrow key; the arrows
// move between neighbouring cells and F2 between the two histories.
#include <QWidget>
#include <vector>

#include "pages/fitting/history_cells.h"

class QLineEdit;
class QPushButton;

class HistoryGrid : public QWidget {
    Q_OBJECT
public:
    explicit HistoryGrid(QWidget* parent);

    // The drug whose routes the route cells take.
    void SetDrug(const std::string& drugCode, const UserDrugRoutes& user);
    // "mg" or "mcg": the dose column's title.
    void ShowDoseUnit(const QString& unit);
    void Show(const std::vector<DoseTexts>& doses, const std::vector<LevelTexts>& levels);
    std::vector<DoseTexts> Doses() const;
    std::vector<LevelTexts> Levels() const;
    void FocusFirstCell();
    // Applies the rule of the cell holding the focus; false (message shown,
    // focus kept) when it refuses the text.
    bool LeaveCurrentCell();
    // The range checks of every cell, for cells left with the mouse; false
    // after showing the first refusal.
    bool CheckAllCells();

signals:
    void doseUnitToggled();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Cell {
        bool dose;
        int row, column;
    };
    QWidget* BuildDoses();
    QWidget* BuildLevels();
    QLineEdit* CellAt(bool dose, int row, int column) const;
    bool Locate(const QObject* widget, Cell& cell) const;
    bool Leave(const Cell& cell);
    void Refuse(QLineEdit* edit, const QString& message);
    void Move(const Cell& from, int key);

    std::vector<std::vector<QLineEdit*>> doses_, levels_;
    QPushButton* doseUnit_;
    std::string drugCode_;
    UserDrugRoutes userRoutes_;
};
