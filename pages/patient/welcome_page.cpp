#include "pages/patient/welcome_page.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <utility>
#include <variant>

#include "app/kit/clock.h"
#include "app/kit/date_display.h"
#include "app/kit/navigation.h"
#include "app/kit/prompts.h"
#include "app/kit/result_codes.h"
#include "pages/patient/hospital_import.h"
#include "pages/widgets/database_work.h"
#include "records/case_record.h"
#include "records/db/configuration.h"
#include "records/db/db_error.h"
#include "records/db/engines/sql_dialect.h"
#include "records/db/record_sets.h"

namespace {
const char* const kOptionsMissing = "Options.dat file is either corrupted or missing. Please contact Orvane Inc. ";
const char* const kTargetIsSource =
    "This is the empty database that comes with Kinevo; it cannot hold patients.\n"
    "Please choose another folder or file name.";
const char* const kNotConfigured = "Your database is not configured. \n Please press the Configure Database button.";
const char* const kServerKept =
    "This workstation stays set up for that server: press Next to try again once it can be used.";

QString Q(const std::string& s) { return QString::fromStdString(s); }

bool Configured() { return ConfiguredDatabasePath() != kDatabaseNotConfigured; }

// Configure Database's question before anything changes. A server is named
// as such, and one that cannot be used now is still asked about: a new
// database here would leave the patients of the shared one behind.
QString ChangeQuestion(const std::string& line, DatabaseState state, const std::string& problem) {
    if (!IsServerLocation(line))
        return Q("The Kinevo database is currently at " + FolderPart(line) +
                 " .\n Do you want to set up a new database at a different location?");
    const std::string server = ServerName(line);
    if (state == DatabaseState::Works)
        return Q("The Kinevo database is currently on the server " + server +
                 " .\n Do you want to set up a new database at a different location?");
    return Q("The Kinevo database is set up on the server " + server + ", which cannot be used now:\n" + problem +
             "\n\nA new database at a different location would not hold that server's patients, and the other "
             "workstations would not see what is saved in it.\n Do you want to set up a new database at a "
             "different location?");
}

// The page's picture: serum levels rising and falling over repeated doses.
QPixmap LevelsPicture() {
    QPixmap picture(480, 200);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(40, 175, 460, 175);
    p.drawLine(40, 175, 40, 15);
    p.setPen(QPen(QColor(40, 90, 170), 1, Qt::DashLine));
    p.drawLine(40, 60, 460, 60);
    p.drawLine(40, 125, 460, 125);
    QPainterPath curve(QPointF(40, 175));
    double level = 0;
    for (int x = 40; x <= 460; ++x) {
        if ((x - 40) % 95 == 0) level += 80;
        level *= 0.99;
        curve.lineTo(x, 175 - level);
    }
    p.setPen(QPen(QColor(180, 30, 30), 2.5));
    p.drawPath(curve);
    return picture;
}
}  // namespace

WelcomePage::WelcomePage(ProgramFiles files, std::function<int(int)> runPages, QWidget* parent)
    : KinevoPage(PageId::Welcome, "THERAPEUTIC   DRUG  MONITORING  SYSTEM", std::nullopt, parent),
      files_(std::move(files)),
      runPages_(std::move(runPages)) {
    Body()->addStretch(1);
    auto* picture = new QLabel(this);
    picture->setPixmap(LevelsPicture());
    picture->setAlignment(Qt::AlignCenter);
    Body()->addWidget(picture);
    auto* dateRow = new QHBoxLayout;
    dateRow->addStretch(1);
    auto* dateCaption = new QLabel("Today's Date:", this);
    today_ = new QLabel(this);
    QFont larger = dateCaption->font();
    larger.setPointSizeF(larger.pointSizeF() * 1.2);
    dateCaption->setFont(larger);
    today_->setFont(larger);
    dateRow->addWidget(dateCaption);
    today_->setObjectName("today");
    dateRow->addWidget(today_);
    dateRow->addStretch(1);
    Body()->addSpacing(12);
    Body()->addLayout(dateRow);
    Body()->addStretch(2);
    AddButton("&Configure Database", "configureDatabase", [this] { ConfigureDatabase(); });
    AddButton("&Import from Hospital Record...", "importHospitalRecord", [this] { ImportHospitalRecord(); });
    AddButton("&Next", "next", [this] { Next(); });
}

void WelcomePage::OnOpen() {
    today_->setText(Q(DateDisplay(Now())));
    if (!Configured()) return Warn(this, kNotConfigured);
    if (!StartUpProblem().empty()) return Warn(this, Q(std::exchange(StartUpProblem(), {}) + "\n\n" + kServerKept));
    TryDatabaseWork(this, [] { ConvertNumericPatientId(ConfiguredDatabasePath()); });
}

void WelcomePage::Next() {
    if (!Configured()) return Warn(this, kNotConfigured);
    Walk(code::kSearch);
}

void WelcomePage::ImportHospitalRecord() {
    // The pages it leads to store into the database, as Next's do.
    if (!Configured()) return Warn(this, kNotConfigured);
    const auto path = ThePrompts().AskOpenPath(this, "FHIR R4 bundles (*.json);;All files (*)");
    if (!path) return;
    auto read = ReadHospitalCase(this, *path, TheCase(), Now(), NowUtcMinute());
    if (std::holds_alternative<ImportCancelled>(read)) return;
    if (const auto* message = std::get_if<QString>(&read)) return Warn(this, *message);
    HospitalCase& imported = std::get<HospitalCase>(read);
    if (!ThePrompts().Review(this, imported.review)) return;
    // A new patient, as the search page begins one, holding the import.
    ResetCaseAndFlags(true);
    ResetAllPages();
    TheCase() = std::move(imported.record);
    Nav().newPatient = true;
    Nav().caseImported = true;
    Walk(code::kNewPatientEntry);
}

void WelcomePage::Walk(int firstCode) {
    hide();
    const int code = runPages_(firstCode);
    if (code != code::kBackToWelcome) return done(code);
    backFromPages_ = true;
    show();
}

int WelcomePage::exec() {
    for (;;) {
        backFromPages_ = false;
        const int code = KinevoPage::exec();
        if (!backFromPages_) return code;
    }
}

void WelcomePage::ConfigureDatabase() {
    const auto line = ReadConfiguredPath(files_.optionsFile);
    if (!line) return Warn(this, kOptionsMissing);
    DatabaseState state = DatabaseState::NotConfigured;
    std::string problem;
    // A server that does not answer takes seconds to give up on.
    if (!TryDatabaseWork(this, [&] { state = TestDatabase(*line, &problem); })) return;
    // A database in use is still the configured one: no new one goes over it.
    if (state == DatabaseState::Busy)
        return ThePrompts().Tell(this, kProgramTitle, kDatabaseBusyText, PromptIcon::Exclamation);
    const bool works = state == DatabaseState::Works;
    ConfiguredDatabasePath() = works || state == DatabaseState::ServerUnavailable ? *line : kDatabaseNotConfigured;
    if ((works || IsServerLocation(*line)) &&
        !ThePrompts().AskYesNo(this, kProgramTitle, ChangeQuestion(*line, state, problem)))
        return;
    const auto target = ThePrompts().AskSavePath(this, "mdb", "Patients.mdb");
    if (target) InstallAt(*target);
    // No record set keeps the old file open: each opens the configured path anew.
    RecreateSharedRecordSets();
}

void WelcomePage::InstallAt(const QString& target) {
    const std::string path = target.toStdString();
    if (!ThePrompts().AskOkCancel(this, kProgramTitle,
                                  Q("Do you want to install the Kinevo database at " + FolderPart(path) + " ?")))
        return Tell(this, "The file wasn't copied.");
    const InstallResult result = InstallDatabase(files_.optionsFile, files_.emptyDatabase, path);
    switch (result.outcome) {
        case InstallOutcome::Installed: return Tell(this, "The Kinevo database was successfully installed.");
        case InstallOutcome::AlreadyExists:
            return Tell(this, "Database file already exists and was not overwritten.\nConfiguration successful.");
        case InstallOutcome::CopyFailed:
            return ThePrompts().Tell(this, kProgramTitle, Q(result.error), PromptIcon::Exclamation);
        case InstallOutcome::OptionsUnreadable: return Warn(this, kOptionsMissing);
        case InstallOutcome::TargetIsSource: return Warn(this, kTargetIsSource);
    }
}
