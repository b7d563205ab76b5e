#pragma once
// Every message box, question, save-as dialog and printer set-up of the
// program goes through Prompts, so that tests can answer them and read back
// what was shown.
#include <functional>
#include <optional>

#include <QString>
#include <QStringList>

#include "app/kit/review_sheet.h"

class QPrinter;
class QWidget;

// The title of message boxes that have none of their own.
inline constexpr const char* kProgramTitle = "Kinevo";

enum class PromptIcon { None, Information, Warning, Exclamation, Question };

class Prompts {
public:
    virtual ~Prompts() = default;
    virtual void Tell(QWidget* parent, const QString& title, const QString& text, PromptIcon icon) = 0;
    // True for OK (or Yes).
    virtual bool AskOkCancel(QWidget* parent, const QString& title, const QString& text) = 0;
    virtual bool AskYesNo(QWidget* parent, const QString& title, const QString& text) = 0;
    // The chosen path, or nullopt when the dialog is cancelled.
    virtual std::optional<QString> AskSavePath(QWidget* parent, const QString& defaultSuffix,
                                               const QString& initialName) = 0;
    // An existing file to read, or nullopt when the dialog is cancelled.
    // `filter`: Qt's name filter, such as "JSON files (*.json)".
    virtual std::optional<QString> AskOpenPath(QWidget* parent, const QString& filter) = 0;
    // One of `items` chosen from a list (not typed), or nullopt when the
    // dialog is cancelled.
    virtual std::optional<int> AskChoice(QWidget* parent, const QString& title, const QString& text,
                                         const QStringList& items) = 0;
    // Shows `sheet` with OK and Cancel; true for OK.
    virtual bool Review(QWidget* parent, const ReviewSheet& sheet) = 0;
    // True when the user confirms the printer (set up in `printer`).
    virtual bool SetUpPrinter(QWidget* parent, QPrinter& printer) = 0;
    // A path for a new PDF file (an existing one is replaced only after the
    // user agrees), or nullopt when the dialog is cancelled.
    virtual std::optional<QString> AskPdfPath(QWidget* parent, const QString& initialName) = 0;
    // Shows what `draw` puts on `printer` page by page; true when the user
    // printed from the preview.
    virtual bool PreviewPrint(QWidget* parent, QPrinter& printer, const std::function<void(QPrinter&)>& draw) = 0;
};

// The prompts in use: the Qt ones unless a test has put others in place.
Prompts& ThePrompts();
void UsePrompts(Prompts* prompts);  // not owned; nullptr restores the Qt ones

// The common shapes.
void Warn(QWidget* parent, const QString& text);  // titled "Warning"
void Tell(QWidget* parent, const QString& text);  // the program's title
