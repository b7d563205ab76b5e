#include "app/kit/scripted_prompts.h"

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
    if (paths.empty()) {
        ++unanswered;
        return std::nullopt;
    }
    const QString path = paths.front().value_or(QString());
    const bool chosen = paths.front().has_value();
    paths.pop_front();
    return chosen ? std::optional<QString>(path) : std::nullopt;
}

bool ScriptedPrompts::SetUpPrinter(QWidget*, QPrinter&) {
    shown.push_back({ShownPrompt::Printer, {}, {}, PromptIcon::None});
    return NextAnswer(printerAnswers);
}

QStringList ScriptedPrompts::Texts() const {
    QStringList texts;
    for (const ShownPrompt& p : shown) texts << p.text;
    return texts;
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
