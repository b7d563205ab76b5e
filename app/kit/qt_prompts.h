#pragma once
// Prompts shown with Qt's message boxes, file dialog and print dialog.
#include "app/kit/prompts.h"

class QtPrompts : public Prompts {
public:
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
};
