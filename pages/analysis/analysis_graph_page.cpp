#include "pages/analysis/analysis_graph_page.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>

#include "app/kit/navigation.h"
#include "app/kit/prompts.h"
#include "app/kit/result_codes.h"
#include "app/kit/work_in_background.h"
#include "engine/analysis_fits.h"
#include "engine/curve_band.h"
#include "engine/curves.h"
#include "engine/results_predictions.h"
#include "output/graph_view.h"
#include "pages/analysis/analysis_tables.h"
#include "pages/widgets/case_posterior.h"
#include "records/case_record.h"

AnalysisGraphPage::AnalysisGraphPage(QWidget* parent)
    : KinevoPage(PageId::AnalysisGraph, "Serum Level Analysis", HeaderVariant::Full, parent) {
    auto* progressRow = new QHBoxLayout;
    progressLabel_ = new QLabel("Computing Fitted Parameters...", this);
    progressLabel_->setObjectName("progressLabel");
    progress_ = new QProgressBar(this);
    progress_->setObjectName("progress");
    progress_->setRange(1, 100);
    progressRow->addWidget(progressLabel_);
    progressRow->addWidget(progress_, 1);
    Body()->addLayout(progressRow);

    auto* tables = new QHBoxLayout;
    parameters_ = NewParameterTable(this);
    tables->addWidget(parameters_, 0, Qt::AlignTop);
    tables->addStretch(1);
    auto* levelColumn = new QVBoxLayout;
    levelTitle_ = new QLabel(this);
    levelTitle_->setObjectName("levelTitle");
    levels_ = NewLevelTable(this);
    levelColumn->addWidget(levelTitle_);
    levelColumn->addWidget(levels_);
    tables->addLayout(levelColumn);
    Body()->addLayout(tables);
    graph_ = new GraphView(this);
    Body()->addWidget(graph_, 1);
    message_ = new QLabel(this);
    message_->setObjectName("message");
    message_->setWordWrap(true);
    Footer()->addWidget(message_);
    ShowProgress(false);

    AddButton("&Previous", "previous", [this] { Leave(code::kHistory); });
    routineLs_ = AddButton("Routine &LS Analysis", "routineLs", [this] { RoutineAnalysis(kLeastSquares); });
    routineBayes_ = AddButton("Routine &Bayes Analysis", "routineBayes", [this] { RoutineAnalysis(kBayesian); });
    detailed_ = AddButton("&Detailed Analysis", "detailed", [this] {
        TheCase().Cur_fit_method = kDetailed;
        ResetPage(PageId::AnalysisResults);
        Leave(code::kAnalysisResults);
    });
}

void AnalysisGraphPage::Reset() {
    ShowParameters(parameters_, {}, false);
    ShowLevels(levels_, {});
    levelTitle_->clear();
    graph_->Clear();
    message_->clear();
    for (QPushButton* button : {routineLs_, routineBayes_, detailed_}) {
        button->setEnabled(true);
        button->setToolTip({});
    }
}

void AnalysisGraphPage::OnOpen() {
    Reset();
    CaseRecord& r = TheCase();
    if (!r.history.present || r.history.measuredCount == 0) {
        ShowParameters(parameters_, FitParameterRows(r), false);
        message_->setText("No measured level to fit.");
        return;
    }
    // The fits take a noticeable time: the page is on screen first, with
    // its progress bar, and keeps painting while they run on a copy of the
    // record off the window's thread.
    setWindowModality(Qt::ApplicationModal);
    show();
    computing_ = true;
    ShowProgress(true);
    Progress(1);
    CaseRecord work = r;
    AnalysisFits fits;
    std::vector<std::string> predictionNotes;
    AnalysisCurves curves;
    RunWhilePainting(
        [&](const WorkProgress& report) {
            fits = RunAnalysisFits(work, report);
            predictionNotes = FillLevelPredictions(work);
            int value = 60;
            curves = ComputeCurves(work, [&] {
                value = std::min(value + 10, 100);
                report(value);
            });
            AddCurveBand(work, CasePosteriorHere(work), curves);
        },
        [this](int value) { Progress(value); });
    r = std::move(work);
    Progress(100);
    ShowProgress(false);
    computing_ = false;
    QStringList notes;
    for (const std::string& m : fits.messages) {
        if (m.rfind("Cannot Fit Data", 0) == 0) Tell(this, QString::fromStdString(m));
        else notes << QString::fromStdString(m);
    }
    for (const std::string& m : predictionNotes) notes << QString::fromStdString(m);

    levelTitle_->setText(QString::fromStdString("Serum Drug Concentrations (" + r.ConcUnit + ")"));
    ShowFlags(fits.fitted, notes);
    std::vector<GraphPanel> panels = {PanelOf(r, curves, kBayesian)};
    if (ShowsLeastSquaresPanel(r)) panels.push_back(PanelOf(r, curves, kLeastSquares));
    graph_->Show(std::move(panels), TimeZeroText(r.history));
    message_->setText(notes.join(" "));
}

void AnalysisGraphPage::ShowFlags(bool fitted, QStringList& notes) {
    const CaseRecord& r = TheCase();
    const bool lsUsable = !fitted || r.leastSquaresRange.Usable();
    const bool bayesUsable = !fitted || r.bayesRange.Usable();
    FittedFlags cells, levelCells;
    if (!lsUsable) {
        cells.leastSquares = QString::fromStdString(FlagCellText(r.leastSquaresRange));
        levelCells.leastSquares = "Not usable";
    }
    if (!bayesUsable) {
        cells.bayes = QString::fromStdString(FlagCellText(r.bayesRange));
        levelCells.bayes = "Not usable";
    }
    ShowParameters(parameters_, FitParameterRows(r), fitted, cells);
    ShowLevels(levels_, LevelTableRows(r.history), levelCells);
    // One fit stands for both sets: one note for it.
    const QString lsNote =
        QString::fromStdString(NotUsableNote(SingleFit(r) ? "Fitted" : "Least-squares", r.leastSquaresRange));
    const QString bayesNote = QString::fromStdString(NotUsableNote("Bayesian", r.bayesRange));
    if (!lsUsable) notes << lsNote;
    if (!bayesUsable && !SingleFit(r)) notes << bayesNote;
    routineLs_->setEnabled(lsUsable);
    routineLs_->setToolTip(lsUsable ? QString() : lsNote);
    routineBayes_->setEnabled(bayesUsable);
    routineBayes_->setToolTip(bayesUsable ? QString() : SingleFit(r) ? lsNote : bayesNote);
    detailed_->setEnabled(lsUsable || bayesUsable);
    detailed_->setToolTip(lsUsable || bayesUsable ? QString() : routineBayes_->toolTip());
}

void AnalysisGraphPage::Progress(int value) { progress_->setValue(std::clamp(value, 1, 100)); }

void AnalysisGraphPage::ShowProgress(bool shown) {
    progressLabel_->setVisible(shown);
    progress_->setVisible(shown);
}

void AnalysisGraphPage::Redraw() {
    ++redraws_;
    graph_->update();
}

void AnalysisGraphPage::reject() {
    if (computing_) return;
    Redraw();
    KinevoPage::reject();
}

void AnalysisGraphPage::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) Redraw();
    else KinevoPage::keyPressEvent(event);
}

void AnalysisGraphPage::RoutineAnalysis(int fitMethod) {
    CaseRecord& r = TheCase();
    // The regimen page starts from the fitted set named here.
    r.Cur_fit_method = fitMethod;
    if (r.Drug_ID == "ph") return Leave(code::kPhenytoinRegimen);
    if (r.RouteCode == 'C' || r.RouteCode == 'D') return Leave(code::kIvRegimen);
    if (r.RouteCode == 'I' || r.RouteCode == 'O') return Leave(code::kOralRegimen);
}
