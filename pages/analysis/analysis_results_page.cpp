#include "pages/analysis/analysis_results_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/kit/navigation.h"
#include "app/kit/prompts.h"
#include "app/kit/result_codes.h"
#include "engine/patient_measures.h"
#include "engine/phenytoin_forecast.h"
#include "engine/regimen_chance.h"
#include "pages/analysis/results_parameter_table.h"
#include "pages/analysis/results_regimen_form.h"
#include "pages/fitting/fit_parameter_texts.h"
#include "pages/forecast/forecast_hand_over.h"
#include "pages/widgets/case_posterior.h"
#include "pages/widgets/field_watch.h"
#include "records/case_record.h"
#include "records/drug_catalogue.h"
#include "records/text_format.h"

namespace {

// The Bayesian set as the end page stores it for this page.
PageParameterTexts BayesTexts(const CaseRecord& r) {
    const ParameterSet& s = r.bayes;
    PageParameterTexts t;
    t.F = FormatNumber("%.2f", s.F);
    t.Vd = FormatNumber("%.3lf", s.Vd);
    t.Cl = FormatNumber("%.3lf", r.ModelType == 3 ? s.Km : s.Cl);
    t.CF = FormatNumber("%.0f", s.CF * 100);
    if (r.ModelType == 3) t.Vmax = FormatNumber("%.3lf", s.Vm);
    t.FValue = s.F;
    t.CFValue = s.CF * 100;
    return t;
}
}  // namespace

AnalysisResultsPage::AnalysisResultsPage(QWidget* parent)
    : KinevoPage(PageId::AnalysisResults, "Detailed Analysis Results", HeaderVariant::Full, parent) {
    table_ = new ResultsParameterTable(this);
    form_ = new ResultsRegimenForm(this);
    watch_ = new FieldWatch(
        this, [this](const QSet<int>&) { Predict(); }, [this] { form_->ClearPredictions(); });
    form_->Watch(*watch_);
    notes_ = new QLabel(this);
    notes_->setObjectName("fitNotes");
    notes_->setWordWrap(true);
    Body()->addWidget(table_);
    Body()->addWidget(notes_);
    Body()->addWidget(form_);
    Body()->addStretch(1);
    AddButton("Bac&k", "back", [this] {
        if (Keep()) Leave(DrugPageCode());
    });
    lsReport_ = AddButton("&LS Report", "lsReport", [this] {
        if (!HandToReport(1)) return;
        TheCase().Cur_fit_method = kLeastSquares;
        LeaveToReport(ReportSource::LeastSquaresResults);
    });
    bayesReport_ = AddButton("&Bayes Report", "bayesReport", [this] {
        if (!HandToReport(2)) return;
        TheCase().Cur_fit_method = kBayesian;
        LeaveToReport(ReportSource::BayesianResults);
    });
    AddButton("&Done", "done", [this] {
        if (Keep()) LeaveToEnd(EndSource::AnalysisResults);
    });
}

void AnalysisResultsPage::Reset() { form_->Clear(); }

void AnalysisResultsPage::OnOpen() {
    const CaseRecord& r = TheCase();
    table_->ShowCase(r);
    form_->ShowCase(r);
    ShowFlags(r);
    // Enter goes round the regimen fields of the case's route.
    std::vector<QWidget*> order;
    for (QLineEdit* field : form_->RegimenFields())
        if (!field->isHidden()) order.push_back(field);
    SetFieldOrder(order);
    // Back from the report or the end page: as it was left, not recomputed.
    if (Nav().revisitResults) form_->Show(r.pages.results);
    Nav().revisitResults = false;
}

void AnalysisResultsPage::ShowFlags(const CaseRecord& r) {
    const std::string lsName = SingleFit(r) ? "Fitted" : "Least-squares";
    const std::string lsNote = NotUsableNote(lsName, r.leastSquaresRange);
    const std::string bayesNote = NotUsableNote("Bayesian", r.bayesRange);
    lsReport_->setEnabled(lsNote.empty());
    lsReport_->setToolTip(QString::fromStdString(lsNote));
    bayesReport_->setEnabled(bayesNote.empty());
    bayesReport_->setToolTip(QString::fromStdString(SingleFit(r) ? lsNote : bayesNote));
    QStringList notes;
    for (const std::string& note : {lsNote, r.leastSquaresRange.caution})
        if (!note.empty()) notes << QString::fromStdString(note);
    if (!SingleFit(r))
        for (const std::string& note : {bayesNote, r.bayesRange.caution})
            if (!note.empty()) notes << QString::fromStdString(note);
    notes_->setText(notes.join("\n"));
    notes_->setVisible(!notes.isEmpty());
}

void AnalysisResultsPage::OnEnter() {
    // A refused value keeps the focus, or leaving would refuse it once more.
    if (Recalculate()) FocusNextField();
}

void AnalysisResultsPage::mousePressEvent(QMouseEvent* event) {
    Recalculate();
    KinevoPage::mousePressEvent(event);
}

bool AnalysisResultsPage::Recalculate() {
    const ResultsRegimen g = form_->Regimen();
    const char* refused = g.dose && *g.dose < 0           ? " dose can not be negative. "
                          : g.interval && *g.interval < 0 ? " Interval can not be negative. "
                                                          : nullptr;
    if (refused) {
        Tell(this, refused);
        return false;
    }
    return watch_->Settle();
}

void AnalysisResultsPage::Predict() {
    const ResultsPredictions predictions = PredictSteadyState(TheCase(), form_->Regimen());
    if (predictions.vmaxReached) {
        Tell(this, "Daily Dosage is greater than Vmax.");
        form_->Clear();
        form_->RegimenFields().front()->setFocus(Qt::OtherFocusReason);
        return;
    }
    form_->ShowPredictions(predictions);
    const CaseRecord& r = TheCase();
    if (const Posterior* posterior = CasePosterior(r))
        form_->ShowChance(ResultsChance(r, *posterior, form_->Regimen()));
}

bool AnalysisResultsPage::Keep() {
    // A button pressed straight after typing still keeps the levels of what was typed.
    if (!watch_->Settle()) return false;
    CaseRecord& r = TheCase();
    r.pages.results = form_->Texts();
    r.regimen = RegimenShown(r, r.pages.results);
    Nav().shownParameters = BayesTexts(r);
    return true;
}

bool AnalysisResultsPage::HandToReport(int set) {
    if (!Keep()) return false;
    const CaseRecord& r = TheCase();
    const FieldTexts& shown = r.pages.results;
    const std::map<std::string, std::string> levels = form_->LevelTexts(set);
    const bool phenytoin = r.ModelType == 3;
    const bool continuous = r.RouteCode == 'C' && !phenytoin;
    ReportRegimen g;
    g.fitType = set == 1 ? kReportLeastSquares : kReportBayesian;
    g.routeCode = r.RouteCode;
    g.dose = TextOf(shown, continuous ? "rate" : "dose");
    g.doseUnit = phenytoin ? DoseUnitsFor(r.FormName).dose : continuous ? r.DoseUnit + "/hr" : r.DoseUnit;
    g.interval = TextOf(shown, "interval");
    g.infusionTime = TextOf(shown, "infusionTime");
    g.postTime = TextOf(shown, "postTime");
    g.peak = levels.at("peak");
    g.post = levels.at("post");
    g.trough = levels.at("trough");
    g.average = levels.at("average");
    g.auc24 = levels.at("auc24");
    g.product = r.FormName;
    if (phenytoin) {
        g.dose2 = TextOf(shown, "dose2");
        g.interval2 = TextOf(shown, "interval2");
        g.product2 = FormNameOf(r.FitRouteProduct2);
        g.observedAverage = levels.at("average");
        g.adjustedAverage = levels.at("adjusted");
        g.steadyState90Days = levels.at("t90");
        if (const auto range = AdjustedRange(CurrentFreeFraction(r))) {
            g.adjustedRangeLow = FormatNumber("%1.1f", range->low);
            g.adjustedRangeHigh = FormatNumber("%1.1f", range->high);
        }
    }
    TheCase().reportRegimen = g;
    return true;
}
