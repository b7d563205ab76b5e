#pragma once
// What the page tests share: scripted prompts, a fixed clock, a clean case
// record and navigation values, a temporary program folder, and a driver
// that presses buttons on each page the dispatcher opens.
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/kit/scripted_prompts.h"
#include "records/history.h"
#include "records/navigation_codes.h"

class KinevoPage;
class QWidget;
struct CaseRecord;
struct PageSet;

// Real Qt message boxes for the life of the object, each answered with its
// first button; `seen` keeps "title: text" of every box in turn.
class BoxAnswerer {
public:
    BoxAnswerer();
    QStringList seen;

private:
    QTimer timer_;
};

// 15 March 2012, 10:00.
double TestMoment();

class PageTestEnvironment {
public:
    PageTestEnvironment();
    ~PageTestEnvironment();
    ScriptedPrompts prompts;
    std::filesystem::path Dir() const;
    // An empty patient database in the folder; returns its path.
    std::string MakeDatabase(const std::string& name);
    void WriteFile(const std::string& name, const std::string& content);

private:
    QTemporaryDir dir_;
};

using PageAction = std::function<void(KinevoPage&)>;

void Click(QWidget* page, const char* buttonName);
PageAction Press(const char* buttonName);
void PressKey(QWidget* widget, int key);
// Answers OK to the exit question and asks it.
void ExitWithOk(ScriptedPrompts& prompts, KinevoPage& page);
PageAction ExitOk(ScriptedPrompts& prompts);

// Shows the page in the program's colours and writes what it looks like as
// `fileName` into $KINEVO_SHOT_DIR, for a person to look at.
void SavePagePicture(QWidget& page, const QString& fileName);

// A 50-year-old man, 70 kg, 175 cm, SCr 1.0 mg/dL, on `drug`.
void SetUpAdult(CaseRecord& r, const std::string& drug);
// The same man on `drug`'s population model and default product, albumin
// 4 g/dL, with the history accepted as the history page accepts it.
void SetUpAdultWithHistory(const std::string& drug, std::vector<DoseRow> doses, std::vector<LevelRow> levels);
// The same, fitted as the analysis page fits it, the default product chosen for the fit.
void FitAdultWithHistory(const std::string& drug, std::vector<DoseRow> doses, std::vector<LevelRow> levels);

struct Step {
    PageId page;  // the dialog expected to open
    PageAction act;
};
struct ChainResult {
    int code = -1;
    std::vector<PageId> visited;
};
// Runs the dispatcher from `firstCode`, acting on each page as it opens. A
// page opened after the last step is closed with code 2 (and shows up in
// `visited`, so the test sees it).
ChainResult RunChain(PageSet& pages, int firstCode, std::vector<Step> steps);
