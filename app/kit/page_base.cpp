#include "app/kit/page_base.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "app/kit/body_area.h"
#include "app/kit/clock.h"
#include "app/kit/institution.h"
#include "app/kit/navigation.h"
#include "app/kit/page_maker.h"
#include "app/kit/prompts.h"
#include "app/kit/result_codes.h"
#include "records/case_record.h"

namespace {
constexpr int kLeastWidth = 760, kLeastHeight = 520;
std::map<PageId, KinevoPage*>& Registry() {
    static std::map<PageId, KinevoPage*> pages;
    return pages;
}

std::function<KinevoPage*(PageId)>& Maker() {
    static std::function<KinevoPage*(PageId)> maker;
    return maker;
}

std::vector<PageId>& PagesToReset() {
    static std::vector<PageId> pages;
    return pages;
}
}  // namespace

KinevoPage* PageById(PageId id) {
    const auto it = Registry().find(id);
    if (it != Registry().end()) return it->second;
    return Maker() ? Maker()(id) : nullptr;
}

void SetPageMaker(std::function<KinevoPage*(PageId id)> maker) { Maker() = std::move(maker); }

void SetPagesToReset(std::vector<PageId> pages) { PagesToReset() = std::move(pages); }

void ResetPage(PageId id) {
    const auto it = Registry().find(id);
    if (it != Registry().end()) it->second->Reset();
}

void ResetAllPages() {
    for (PageId id : PagesToReset()) ResetPage(id);
}

KinevoPage::KinevoPage(PageId id, const QString& heading, std::optional<HeaderVariant> header, QWidget* parent)
    : QDialog(parent), id_(id) {
    Registry()[id] = this;
    setWindowTitle("Kinevo");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setMinimumSize(kLeastWidth, kLeastHeight);
    auto* root = new QVBoxLayout(this);
    institution_ = new QLabel(this);
    institution_->setObjectName("institution");
    institution_->setAlignment(Qt::AlignCenter);
    QFont bold = institution_->font();
    bold.setBold(true);
    institution_->setFont(bold);
    root->addWidget(institution_);
    if (header) {
        header_ = new HeaderStrip(*header, this);
        root->addWidget(header_);
    }
    auto* title = new QLabel(heading, this);
    title->setObjectName("heading");
    QFont big = title->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    root->addWidget(title);
    bodyArea_ = new BodyArea(this);
    body_ = bodyArea_->Contents();
    root->addWidget(bodyArea_, 1);
    footer_ = new QVBoxLayout;
    root->addLayout(footer_);
    buttons_ = new QHBoxLayout;
    buttons_->addStretch(1);
    root->addLayout(buttons_);
}

KinevoPage::~KinevoPage() {
    const auto it = Registry().find(id_);
    if (it != Registry().end() && it->second == this) Registry().erase(it);
}

int KinevoPage::Run() {
    Open();
    return exec();
}

void KinevoPage::Open() {
    setWindowState(Nav().maximized ? Qt::WindowMaximized : Qt::WindowNoState);
    institution_->setText(QString::fromStdString(InstitutionName()));
    if (header_) header_->Fill(TheCase(), Now());
    OnOpen();
    emit opened();
}

bool KinevoPage::event(QEvent* event) {
    const bool handled = QDialog::event(event);
    // Rows squeezed into each other are unreadable: the page's least size
    // follows its contents.
    if (event->type() == QEvent::LayoutRequest) setMinimumSize(LeastSize());
    // A page that grew after the window manager placed it can find its title
    // bar above the screen, where it can no longer be moved, or its buttons
    // beyond the screen's right or bottom edge: it is moved back on screen,
    // the title bar first.
    if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && isVisible() && !isMaximized()) {
        const QRect free = screen()->availableGeometry();
        const QRect frame = frameGeometry();
        const int x = std::max(free.left(), std::min(frame.left(), free.right() + 1 - frame.width()));
        const int y = std::max(free.top(), std::min(frame.top(), free.bottom() + 1 - frame.height()));
        if (x != frame.left() || y != frame.top()) move(x, y);
    }
    return handled;
}

int KinevoPage::ScreenRoom() const {
    // The screen without its panels, less the window's title bar (a usual
    // one until the page has been shown in its frame).
    const int frame = isVisible() && frameGeometry().height() > height() ? frameGeometry().height() - height() : 40;
    return screen()->availableGeometry().height() - frame;
}

QSize KinevoPage::LeastSize() const {
    const QSize scrolled = layout()->minimumSize();
    const int whole = scrolled.height() + bodyArea_->ScrolledHeight();
    const int room = ScreenRoom();
    const int height = std::max({std::min(whole, room), scrolled.height(), std::min(kLeastHeight, room)});
    return {std::max(kLeastWidth, scrolled.width()), height};
}

QSize KinevoPage::sizeHint() const {
    // A page first shown taller than the screen would be placed with its
    // title bar above it.
    const QSize hint = QDialog::sizeHint();
    return QSize(hint.width(), std::min(hint.height(), ScreenRoom())).expandedTo(minimumSize());
}

void KinevoPage::Leave(int code) {
    Nav().maximized = isMaximized();
    done(code);
}

void KinevoPage::LeaveToEnd(EndSource source) {
    Nav().endPageSource = source;
    Leave(code::kEnd);
}

void KinevoPage::LeaveToReport(ReportSource source) {
    Nav().reportSource = source;
    Leave(code::kReport);
}

bool KinevoPage::ConfirmExit() {
    return ThePrompts().AskOkCancel(this, kProgramTitle, "Are you sure you want to exit Kinevo?");
}

void KinevoPage::reject() {
    if (ConfirmExit()) Leave(code::kExitConfirmed);
}

void KinevoPage::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QDialog::keyPressEvent(event);
        return;
    }
    if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled()) button->click();
    else OnEnter();
}

void KinevoPage::OnEnter() {
    for (QPushButton* button : findChildren<QPushButton*>())
        if (button->isDefault() && button->isEnabled()) {
            button->click();
            return;
        }
}

QPushButton* KinevoPage::AddButton(const QString& caption, const QString& objectName, std::function<void()> onClick) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, std::move(onClick));
    buttons_->addWidget(button);
    return button;
}

void KinevoPage::FocusNextField() {
    if (fieldOrder_.empty()) return;
    const auto it = std::find(fieldOrder_.begin(), fieldOrder_.end(), focusWidget());
    const bool wrap = it == fieldOrder_.end() || std::next(it) == fieldOrder_.end();
    (wrap ? fieldOrder_.front() : *std::next(it))->setFocus(Qt::TabFocusReason);
}

void KinevoPage::FocusPreviousField() {
    if (fieldOrder_.empty()) return;
    const auto it = std::find(fieldOrder_.begin(), fieldOrder_.end(), focusWidget());
    const bool wrap = it == fieldOrder_.end() || it == fieldOrder_.begin();
    (wrap ? fieldOrder_.back() : *std::prev(it))->setFocus(Qt::BacktabFocusReason);
}
