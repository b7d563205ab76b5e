#include "app/startup.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>
#include <fstream>

#include "app/dispatcher.h"
#include "app/kit/institution.h"
#include "app/kit/prompts.h"
#include "app/page_set.h"
#include "app/program_files.h"
#include "app/welcome_picture.h"
#include "pages/patient/welcome_page.h"
#include "records/case_record.h"
#include "records/db/configuration.h"

namespace {
// The institution's name is the second line of Options.dat (empty when
// there is none); Configure Database rewrites only the first line, so it stays.
std::string InstitutionNameFrom(const std::filesystem::path& optionsFile) {
    std::ifstream in(optionsFile);
    std::string line;
    std::getline(in, line);
    if (!std::getline(in, line)) return {};
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
    return line;
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
    InstitutionName() = InstitutionNameFrom(optionsFile);
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
    WelcomePage welcome(files, [&pages] { return RunPages(pages); });
    welcome.Run();
    return 0;
}
