#include "app/kit/qt_prompts.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "app/kit/review_dialog.h"

namespace {
QMessageBox::Icon IconOf(PromptIcon icon) {
    switch (icon) {
        case PromptIcon::Information: return QMessageBox::Information;
        case PromptIcon::Warning:
        case PromptIcon::Exclamation: return QMessageBox::Warning;
        case PromptIcon::Question: return QMessageBox::Question;
        case PromptIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

std::optional<QString> SavePath(QWidget* parent, const QString& defaultSuffix, const QString& initialName,
                                const QString& filter, bool confirmOverwrite) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !confirmOverwrite);
    if (!filter.isEmpty()) dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

int Ask(QWidget* parent, const QString& title, const QString& text, QMessageBox::StandardButtons buttons) {
    QMessageBox box(QMessageBox::Question, title, text, buttons, parent);
    return box.exec();
}
}  // namespace

void QtPrompts::Tell(QWidget* parent, const QString& title, const QString& text, PromptIcon icon) {
    QMessageBox box(IconOf(icon), title, text, QMessageBox::Ok, parent);
    box.exec();
}

bool QtPrompts::AskOkCancel(QWidget* parent, const QString& title, const QString& text) {
    return Ask(parent, title, text, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

bool QtPrompts::AskYesNo(QWidget* parent, const QString& title, const QString& text) {
    return Ask(parent, title, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<QString> QtPrompts::AskSavePath(QWidget* parent, const QString& defaultSuffix,
                                              const QString& initialName) {
    // An existing file is never overwritten (the install keeps it), so the
    // dialog's own overwrite question would only mislead.
    return SavePath(parent, defaultSuffix, initialName, {}, false);
}

std::optional<QString> QtPrompts::AskOpenPath(QWidget* parent, const QString& filter) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<int> QtPrompts::AskChoice(QWidget* parent, const QString& title, const QString& text,
                                        const QStringList& items) {
    bool ok = false;
    const QString chosen = QInputDialog::getItem(parent, title, text, items, 0, false, &ok);
    if (!ok) return std::nullopt;
    const auto index = items.indexOf(chosen);
    return index < 0 ? std::nullopt : std::optional<int>(static_cast<int>(index));
}

bool QtPrompts::Review(QWidget* parent, const ReviewSheet& sheet) {
    ReviewDialog dialog(sheet, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompts::SetUpPrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<QString> QtPrompts::AskPdfPath(QWidget* parent, const QString& initialName) {
    return SavePath(parent, "pdf", initialName, "PDF files (*.pdf)", true);
}

bool QtPrompts::PreviewPrint(QWidget* parent, QPrinter& printer, const std::function<void(QPrinter&)>& draw) {
    QPrintPreviewDialog dialog(&printer, parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&draw](QPrinter* device) { draw(*device); });
    return dialog.exec() == QDialog::Accepted;
}
