#pragma once
// Prompts for tests: answers are queued beforehand and every prompt shown is
// recorded with its title and text. A question with no queued answer counts
// as unanswered and gets the negative answer.
#include <deque>
#include <vector>

#include "app/kit/prompts.h"

struct ShownPrompt {
    enum Kind { Message, OkCancel, YesNo, SavePath, OpenPath, Choice, Review, Printer, PdfPath, Preview } kind;
    QString title;
    QString text;
    PromptIcon icon = PromptIcon::None;
};

class ScriptedPrompts : public Prompts {
public:
    std::deque<bool> answers;                      // OK/Yes = true, in order asked
    std::deque<std::optional<QString>> paths;      // for save-as dialogs
    std::deque<std::optional<QString>> openPaths;  // for files to read
    std::deque<std::optional<int>> choices;        // the index chosen; nullopt: cancelled
    std::vector<QStringList> choiceLists;          // the items of every choice shown, in order
    std::deque<bool> reviewAnswers;                // OK = true
    std::vector<ReviewSheet> reviews;              // every review shown, in order
    std::deque<bool> printerAnswers;
    // A confirmed printer and the preview write a PDF here, so a test can
    // read what was drawn.
    QString printerOutputFile;
    std::deque<std::optional<QString>> pdfPaths;
    // True: printed from the preview. The preview draws once either way.
    std::deque<bool> previewAnswers;
    std::vector<ShownPrompt> shown;
    int unanswered = 0;

    void Tell(QWidget* parent, const QString& title, const QString& text, PromptIcon icon) override;
    bool AskOkCancel(QWidget* parent, const QString& title, const QString& text) override;
    bool AskYesNo(QWidget* parent, const QString& title, const QString& text) override;
    std::optional<QString> AskSavePath(QWidget* parent, const QString& defaultSuffix,
                                       const QString& initialName) override;
    std::optional<QString> AskOpenPath(QWidget* parent, const QString& filter) override;
    std::optional<int> AskChoice(QWidget* parent, const QString& title, const QString& text,
                                 const QStringList& items) override;
    bool Review(QWidget* parent, const ReviewSheet& sheet) override;
    bool SetUpPrinter(QWidget* parent, QPrinter& printer) override;
    std::optional<QString> AskPdfPath(QWidget* parent, const QString& initialName) override;
    bool PreviewPrint(QWidget* parent, QPrinter& printer, const std::function<void(QPrinter&)>& draw) override;

    // The texts shown, in order (messages and questions alike).
    QStringList Texts() const;

private:
    void PrintToFile(QPrinter& printer) const;
    bool NextAnswer(std::deque<bool>& queue);
    template <class T>
    std::optional<T> NextOptional(std::deque<std::optional<T>>& queue);
};
