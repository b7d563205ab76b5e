#pragma once
// Page 157: the fits, their parameters, the level table and the graphs.
#include "app/kit/page_base.h"

class AnalysisGraphPage : public KinevoPage {  // page 157
    Q_OBJECT
public:
    explicit AnalysisGraphPage(QWidget* parent = nullptr);
    int Redraws() const { return redraws_; }

protected:
    void OnEnter() override { Redraw(); }
    // The close box redraws, then asks the exit question; Esc only redraws.
    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Redraw();
    void RoutineAnalysis(int fitMethod);
    int redraws_ = 0;
};
