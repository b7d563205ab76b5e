#pragma once
// Page 130, the program's main window: Next starts the walk through the
// pages, Configure Database installs an empty patient database. Closing it
// ends the program.
#include <functional>

#include "app/kit/page_base.h"
#include "records/db/configuration.h"

class QLabel;

class WelcomePage : public KinevoPage {
    Q_OBJECT
public:
    // `files`: the Options.dat Configure Database rewrites and the empty
    // database it installs. `runPages` runs the working pages from the page
    // of `firstCode` and returns the code the walk ended with.
    WelcomePage(ProgramFiles files, std::function<int(int firstCode)> runPages, QWidget* parent = nullptr);
    // Hiding a dialog ends its exec(), and the page hides while the working
    // pages run: it goes on after they come back, until it is closed.
    int exec() override;

protected:
    void OnOpen() override;
    // No question here: Esc, Enter and the close box end the program.
    void reject() override { Leave(0); }
    void OnEnter() override { Leave(0); }

private:
    void Next();
    // A new patient's case from a FHIR R4 bundle, reviewed, then on the New
    // Patient page and the history page unsaved.
    void ImportHospitalRecord();
    void Walk(int firstCode);
    void ConfigureDatabase();
    // Asks before installing at `target`, then says how it went.
    void InstallAt(const QString& target);
    ProgramFiles files_;
    std::function<int(int)> runPages_;
    QLabel* today_;
    bool backFromPages_ = false;
};
