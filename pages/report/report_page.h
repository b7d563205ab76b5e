#pragma once
// Page 151: the report printing options. It shows the regimen the source
// page recommends, takes a note and the print options, and prints the
// report, shows it in a preview or saves it as a PDF: one page, and for a
// fitted set a second with the evidence behind it.
#include <QSize>
#include <functional>

#include "app/kit/page_base.h"
#include "app/kit/result_codes.h"
#include "output/report_content.h"
#include "output/report_evidence.h"
#include "output/report_output.h"
#include "output/report_pictures.h"

class QCheckBox;
class QLabel;
class QPainter;
class QPlainTextEdit;
class ReportParameterGroup;
class ReportRegimenGroup;

class ReportPage : public KinevoPage {
    Q_OBJECT
public:
    // Records the level table and graph of the fitted set asked for
    // (2 least squares, 3 Bayesian).
    using PictureRecorder = std::function<ReportPictures(int fitMethod)>;
    explicit ReportPage(QWidget* parent = nullptr);
    void Reset() override;
    // 0 Population, 1 Bayesian, 2 Least Squares; any other value is
    // refused with a message and the fit type stays.
    void SetFitType(int fitType);
    void SetPictureRecorder(PictureRecorder recorder) { recordPictures_ = std::move(recorder); }
    // The report as it would go out now.
    ReportContent Content() const;
    // Its sheets as they would go out now; the evidence is worked out here,
    // once per delivery.
    ReportSheets Sheets();

protected:
    void OnOpen() override;
    // No Enter handling of its own: Enter closes the page back to the welcome page.
    void OnEnter() override { Leave(code::kBackToWelcome); }

private:
    void ApplyOptionRules();
    void LimitNote();
    void Previous();
    void Print();
    void Preview();
    void SavePdf();
    // The note joins the case's note once per opening, however often the
    // report goes out.
    void AppendNoteOnce();
    void LeaveAfterPrinting();
    void DrawFirstSheet(QPainter& painter, QSize pixels, const ReportContent& content) const;
    // The posterior is drawn off the window's thread; missing when it cannot be.
    ReportEvidence Evidence();
    int fitType_ = kReportPopulation;
    ReportKind kind_ = ReportKind::Population;
    ReportRegimen regimen_;  // as re-formatted for the report
    bool noteAppended_ = false;
    PictureRecorder recordPictures_;
    ReportParameterGroup* parameters_;
    QLabel* recommendation_;  // the heading over the regimen
    QLabel* caution_;         // what the fitted set asks to check, as the report prints it
    ReportRegimenGroup* regimenGroup_;
    QPlainTextEdit* note_;
    QCheckBox *graphics_, *populationParameters_, *peak_;
};
