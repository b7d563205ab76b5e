#pragma once
// Page 130, the program's main window: Next starts the walk through the
// pages, Configure Database installs an empty patient database. Closing it
// ends the program.
#include <filesystem>
#include <functional>

#include "app/kit/page_base.h"

class QLabel;

class WelcomePage : public KinevoPage {
    Q_OBJECT
public:
    // `programDir` holds Options.dat and the empty Patients.mdb. `runPages`
    // runs the working pages and returns the code the walk ended with.
    WelcomePage(std::filesystem::path programDir, std::function<int()> runPages, QWidget* parent = nullptr);
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
    void ConfigureDatabase();
    // Asks before installing at `target`, then says how it went.
    void InstallAt(const QString& target);
    std::filesystem::path programDir_;
    std::function<int()> runPages_;
    QLabel* today_;
    bool backFromPages_ = false;
};
