#include "app/kit/prompts.h"

#include "app/kit/qt_prompts.h"

namespace {
Prompts*& Current() {
    static Prompts* prompts = nullptr;
    return prompts;
}
}  // namespace

Prompts& ThePrompts() {
    static QtPrompts qtPrompts;
    return Current() ? *Current() : qtPrompts;
}

void UsePrompts(Prompts* prompts) { Current() = prompts; }

void Warn(QWidget* parent, const QString& text) { ThePrompts().Tell(parent, "Warning", text, PromptIcon::Warning); }

void Tell(QWidget* parent, const QString& text) { ThePrompts().Tell(parent, kProgramTitle, text, PromptIcon::None); }
