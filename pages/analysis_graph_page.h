#pragma once
// Page 157: the fits, their parameters, the level table and the graphs.
#include "app/kit/page_base.h"

class GraphView;
class QLabel;
class QProgressBar;
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

    QLabel* progressLabel_;
    QProgressBar* progress_;
    QTableWidget* parameters_;
    QLabel* levelTitle_;
    QTableWidget* levels_;
    GraphView* graph_;
    QLabel* message_;
    bool computing_ = false;
    int redraws_ = 0;
};
