#include "pages/report/report_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/kit/clock.h"
#include "app/kit/date_display.h"
#include "app/kit/navigation.h"
#include "app/kit/prompts.h"
#include "output/report_drawing.h"
#include "output/report_evidence_drawing.h"
#include "output/report_texts.h"
#include "pages/report/report_delivery.h"
#include "pages/report/report_heading.h"
#include "pages/report/report_note.h"
#include "pages/report/report_screen_groups.h"
#include "pages/widgets/case_posterior.h"
#include "records/case_record.h"

namespace {
QCheckBox* Option(QWidget* parent, const char* caption, const char* name) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

void Offer(QCheckBox* box, bool offered) {
    box->setEnabled(offered);
    if (!offered) box->setChecked(false);
}
}  // namespace

ReportPage::ReportPage(QWidget* parent)
    : KinevoPage(PageId::Report, "Report Printing Options", HeaderVariant::Full, parent) {
    recommendation_ = new QLabel(this);
    recommendation_->setObjectName("recommendation");
    recommendation_->setAlignment(Qt::AlignCenter);
    QFont bold = recommendation_->font();
    bold.setBold(true);
    recommendation_->setFont(bold);
    caution_ = new QLabel(this);
    caution_->setObjectName("caution");
    caution_->setWordWrap(true);
    caution_->setStyleSheet("color: darkred; font-weight: bold");
    parameters_ = new ReportParameterGroup(this);
    regimenGroup_ = new ReportRegimenGroup(this);
    note_ = new QPlainTextEdit(this);
    note_->setObjectName("caseNote");
    note_->setTabChangesFocus(true);
    note_->setMaximumHeight(90);
    connect(note_, &QPlainTextEdit::textChanged, this, [this] { LimitNote(); });
    graphics_ = Option(this, "Print Graphics", "printGraphics");
    populationParameters_ = Option(this, "Print Population Parameters", "printPopulation");
    peak_ = Option(this, "Print Peak", "printPeak");

    auto* columns = new QHBoxLayout;
    columns->addWidget(parameters_, 0, Qt::AlignTop);
    columns->addWidget(regimenGroup_, 0, Qt::AlignTop);
    auto* options = new QVBoxLayout;
    for (QCheckBox* box : {graphics_, populationParameters_, peak_}) options->addWidget(box);
    options->addStretch(1);
    columns->addLayout(options);
    columns->addStretch(1);
    Body()->addWidget(recommendation_);
    Body()->addWidget(caution_);
    Body()->addLayout(columns);
    Body()->addWidget(new QLabel("Case Note: (Size Limit 150)", this));
    Body()->addWidget(note_);
    Body()->addStretch(1);

    AddButton("Previous", "previous", [this] { Previous(); });
    // Alt+V opens the preview rather than typing into the Case Note.
    AddButton("Print Pre&view", "preview", [this] { Preview(); });
    AddButton("Save as PDF", "savePdf", [this] { SavePdf(); });
    AddButton("Print", "print", [this] { Print(); });
}

void ReportPage::Reset() {
    note_->clear();
    fitType_ = kReportPopulation;
}

void ReportPage::SetFitType(int fitType) {
    if (fitType != kReportPopulation && fitType != kReportBayesian && fitType != kReportLeastSquares)
        return Tell(this, "Kinevo ERROR: Unrecognized Fit Type");
    fitType_ = fitType;
}

void ReportPage::OnOpen() {
    const CaseRecord& r = TheCase();
    SetFitType(r.reportRegimen.fitType);
    regimen_ = ReformattedRegimen(r.reportRegimen, r.ModelType == 2);
    kind_ = ReportKindOf(Nav().reportSource, fitType_);
    noteAppended_ = false;
    const QString heading = QString::fromStdString(RecommendationHeading(kind_));
    // The fit type's words, after "Dosage Recommendation - ".
    parameters_->Show(r, heading.mid(24) + ": " + QString::fromStdString(DateDisplay(Now())));
    recommendation_->setText(heading);
    regimenGroup_->Show(regimen_, r);
    ApplyOptionRules();
    const std::string caution = Content().caution;
    caution_->setText(caution.empty() ? QString() : QString::fromStdString("Caution: " + caution));
    caution_->setVisible(!caution.empty());
    note_->setFocus(Qt::OtherFocusReason);
}

void ReportPage::ApplyOptionRules() {
    for (QCheckBox* box : {graphics_, populationParameters_, peak_}) {
        box->setEnabled(true);
        box->setChecked(true);
    }
    if (kind_ == ReportKind::Population) {
        Offer(graphics_, false);
        Offer(peak_, false);
        populationParameters_->setEnabled(false);
    }
    if (TheCase().Drug_ID == "ph") Offer(peak_, false);
}

// The note is cut to its limit as it is typed, never inside a character.
void ReportPage::LimitNote() {
    const QString text = note_->toPlainText();
    if (text.size() <= kReportNoteLimit) return;
    QString kept = text.left(kReportNoteLimit);
    if (kept.back().isHighSurrogate()) kept.chop(1);
    note_->setPlainText(kept);
    note_->moveCursor(QTextCursor::End);
}

ReportContent ReportPage::Content() const {
    const ReportChoices choices{graphics_->isChecked(), populationParameters_->isChecked(), peak_->isChecked()};
    const double now = Now();
    return ReportContentOf(TheCase(), ReportHeadingOf(TheCase(), now), regimen_, kind_, choices,
                           note_->toPlainText().toStdString(), now);
}

ReportSheets ReportPage::Sheets() {
    const ReportContent content = Content();
    ReportSheets sheets = {[this, content](QPainter& p, QSize pixels) { DrawFirstSheet(p, pixels, content); }};
    if (kind_ == ReportKind::Population) return sheets;
    sheets.push_back([content, evidence = Evidence()](QPainter& p, QSize pixels) {
        DrawEvidencePage(p, pixels, content, evidence);
    });
    return sheets;
}

ReportEvidence ReportPage::Evidence() {
    const CaseRecord& r = TheCase();
    return ReportEvidenceOf(r, kind_, regimen_, CasePosterior(r));
}

void ReportPage::DrawFirstSheet(QPainter& painter, QSize pixels, const ReportContent& content) const {
    if (kind_ == ReportKind::Population || !content.choices.graphics || !recordPictures_)
        return DrawReport(painter, pixels, content, nullptr);
    // Recorded afresh for the set the report is about.
    const ReportPictures pictures = recordPictures_(kind_ == ReportKind::Bayesian ? kBayesian : kLeastSquares);
    DrawReport(painter, pixels, content, &pictures);
}

void ReportPage::Previous() {
    switch (Nav().reportSource) {
        case ReportSource::IvForecast: Nav().revisitIvForecast = true; return Leave(code::kIvForecast);
        case ReportSource::OralForecast: Nav().revisitOralForecast = true; return Leave(code::kOralForecast);
        case ReportSource::PhenytoinForecast: return Leave(code::kPhenytoinForecast);
        case ReportSource::BayesianResults:
        case ReportSource::LeastSquaresResults: Nav().revisitResults = true; return Leave(code::kAnalysisResults);
        case ReportSource::None: return;
    }
}

void ReportPage::Print() {
    if (PrintReport(this, Sheets())) LeaveAfterPrinting();
}

void ReportPage::Preview() {
    if (PreviewReport(this, Sheets())) LeaveAfterPrinting();
}

// A saved report keeps the page open: it may still be printed.
void ReportPage::SavePdf() {
    if (SaveReportPdf(this, Sheets())) AppendNoteOnce();
}

void ReportPage::AppendNoteOnce() {
    if (noteAppended_) return;
    CaseRecord& r = TheCase();
    r.Case_Note = WithReportNote(r.Case_Note, note_->toPlainText().toStdString());
    Nav().printedSet = r.CurrentSet();
    noteAppended_ = true;
}

void ReportPage::LeaveAfterPrinting() {
    AppendNoteOnce();
    LeaveToEnd(kind_ == ReportKind::Population ? EndSource::PopulationReportPrinted : EndSource::FittedReportPrinted);
}
