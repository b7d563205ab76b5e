#include "app/kit/scripted_prompts.h"

#include <QPrinter>
#include <QStringList>

void ScriptedPrompts::Tell(QWidget*, const QString& title, const QString& text, PromptIcon icon) {
    shown.push_back({ShownPrompt::Message, title, text, icon});
}

bool ScriptedPrompts::AskOkCancel(QWidget*, const QString& title, const QString& text) {
    shown.push_back({ShownPrompt::OkCancel, title, text, PromptIcon::Question});
    return NextAnswer(answers);
}

bool ScriptedPrompts::AskYesNo(QWidget*, const QString& title, const QString& text) {
    shown.push_back({ShownPrompt::YesNo, title, text, PromptIcon::Question});
    return NextAnswer(answers);
}

std::optional<QString> ScriptedPrompts::AskSavePath(QWidget*, const QString& defaultSuffix,
                                                    const QString& initialName) {
    shown.push_back({ShownPrompt::SavePath, defaultSuffix, initialName, PromptIcon::None});
    return NextOptional(paths);
}

std::optional<QString> ScriptedPrompts::AskOpenPath(QWidget*, const QString& filter) {
    shown.push_back({ShownPrompt::OpenPath, {}, filter, PromptIcon::None});
    return NextOptional(openPaths);
}

std::optional<int> ScriptedPrompts::AskChoice(QWidget*, const QString& title, const QString& text,
                                              const QStringList& items) {
    shown.push_back({ShownPrompt::Choice, title, text, PromptIcon::Question});
    choiceLists.push_back(items);
    return NextOptional(choices);
}

bool ScriptedPrompts::Review(QWidget*, const ReviewSheet& sheet) {
    shown.push_back({ShownPrompt::Review, sheet.title, sheet.Text(), PromptIcon::None});
    reviews.push_back(sheet);
    return NextAnswer(reviewAnswers);
}

bool ScriptedPrompts::SetUpPrinter(QWidget*, QPrinter& printer) {
    shown.push_back({ShownPrompt::Printer, {}, {}, PromptIcon::None});
    const bool confirmed = NextAnswer(printerAnswers);
    if (confirmed) PrintToFile(printer);
    return confirmed;
}

std::optional<QString> ScriptedPrompts::AskPdfPath(QWidget*, const QString& initialName) {
    shown.push_back({ShownPrompt::PdfPath, {}, initialName, PromptIcon::None});
    return NextOptional(pdfPaths);
}

bool ScriptedPrompts::PreviewPrint(QWidget*, QPrinter& printer, const std::function<void(QPrinter&)>& draw) {
    shown.push_back({ShownPrompt::Preview, {}, {}, PromptIcon::None});
    PrintToFile(printer);
    draw(printer);
    return NextAnswer(previewAnswers);
}

QStringList ScriptedPrompts::Texts() const {
    QStringList texts;
    for (const ShownPrompt& p : shown) texts << p.text;
    return texts;
}

void ScriptedPrompts::PrintToFile(QPrinter& printer) const {
    if (printerOutputFile.isEmpty()) return;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printerOutputFile);
}

template <class T>
std::optional<T> ScriptedPrompts::NextOptional(std::deque<std::optional<T>>& queue) {
    if (queue.empty()) {
        ++unanswered;
        return std::nullopt;
    }
    const std::optional<T> answer = queue.front();
    queue.pop_front();
    return answer;
}

bool ScriptedPrompts::NextAnswer(std::deque<bool>& queue) {
    if (queue.empty()) {
        ++unanswered;
        return false;
    }
    const bool answer = queue.front();
    queue.pop_front();
    return answer;
}
