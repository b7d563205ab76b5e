#include "app/startup.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>
#include <fstream>
#include <optional>

#include "app/dispatcher.h"
#include "app/kit/institution.h"
#include "app/kit/prompts.h"
#include "app/page_set.h"
#include "app/program_files.h"
#include "app/welcome_picture.h"
#include "pages/patient/welcome_page.h"
#include "records/case_record.h"
#include "records/creatinine_unit.h"
#include "records/db/configuration.h"

namespace {
// The lines after the database's: the institution's name on the second
// (empty when there is none) and settings such as "Creatinine: umol/L" on
// any. Configure Database rewrites only the first line, so they stay.
struct OptionsLines {
    std::string institution;
    std::optional<CreatinineUnit> creatinine;
    std::string unknownCreatinine;  // a creatinine line naming no unit known here
};

OptionsLines ReadOptionsLines(const std::filesystem::path& optionsFile) {
    std::ifstream in(optionsFile);
    std::string line;
    std::getline(in, line);
    OptionsLines lines;
    for (int number = 2; std::getline(in, line); ++number) {
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
        if (IsCreatinineLine(line)) {
            lines.creatinine = CreatinineUnitOfLine(line);
            lines.unknownCreatinine = lines.creatinine ? "" : line;
        } else if (number == 2) {
            lines.institution = line;
        }
    }
    return lines;
}
}  // namespace

void SetDialogColours(QApplication& app) {
    app.setStyle(QStyleFactory::create("Fusion"));
    QPalette palette = app.palette();
    palette.setColor(QPalette::Window, QColor(255, 219, 93));
    // Black text for controls in use only: disabled ones keep the style's
    // grey, so a button that cannot be pressed looks it.
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(group, role, Qt::black);
    app.setPalette(palette);
}

bool ReadStartUpConfiguration(const std::filesystem::path& optionsFile) {
    if (!StartUpDatabasePath(optionsFile)) {
        Warn(nullptr, "Options.dat file is either corrupted or missing. Please contact Orvane Inc. ");
        return false;
    }
    const OptionsLines lines = ReadOptionsLines(optionsFile);
    InstitutionName() = lines.institution;
    ShownCreatinineUnit() = lines.creatinine.value_or(CreatinineUnit::MgPerDl);
    if (!lines.unknownCreatinine.empty())
        Warn(nullptr, QString::fromStdString("Options.dat: \"" + lines.unknownCreatinine +
                                             "\" names no creatinine unit (\"Creatinine: mg/dL\" or \"Creatinine: "
                                             "umol/L\").\nSerum creatinine is entered and shown in mg/dL."));
    TheCase().ModelType = 1;
    return true;
}

int RunProgram(QApplication& app, const std::filesystem::path& programDir) {
    SetDialogColours(app);
    const std::unique_ptr<QObject> picture = WatchForWelcomePicture(app);
    const ProgramFiles files =
        SetUpProgramFiles(programDir, FolderIsWritable(programDir), UserFoldersFromEnvironment());
    if (!ReadStartUpConfiguration(files.optionsFile)) return 1;
    PageSet pages;
    WelcomePage welcome(files, [&pages](int firstCode) { return RunPages(pages, firstCode); });
    welcome.Run();
    return 0;
}
