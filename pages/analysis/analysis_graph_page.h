#pragma once
// Page 157: the fits, their parameters, the level table and the graphs.
#include <QStringList>

#include "app/kit/page_base.h"

class GraphView;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

class AnalysisGraphPage : public KinevoPage {  // page 157
    Q_OBJECT
public:
    explicit AnalysisGraphPage(QWidget* parent = nullptr);
    int Redraws() const { return redraws_; }
    void Reset() override;

protected:
    // Runs the fits and the curves with the page on screen, then shows them.
    void OnOpen() override;
    void OnEnter() override { Redraw(); }
    // The close box redraws, then asks the exit question; Esc only redraws.
    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Progress(int value);
    void ShowProgress(bool shown);
    void Redraw();
    void RoutineAnalysis(int fitMethod);
    // A flagged set shows its flag in place of its numbers and leads nowhere:
    // its buttons are disabled, with the reason on the page and on them.
    void ShowFlags(bool fitted, QStringList& notes);

    QLabel* progressLabel_;
    QProgressBar* progress_;
    QTableWidget* parameters_;
    QLabel* levelTitle_;
    QTableWidget* levels_;
    GraphView* graph_;
    QLabel* message_;
    QPushButton *routineLs_, *routineBayes_, *detailed_;
    bool computing_ = false;
    int redraws_ = 0;
};
