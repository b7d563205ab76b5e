#include "pages/phenytoin/phenytoin_page.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "app/kit/navigation.h"
#include "engine/forecast_checks.h"
#include "pages/phenytoin/leave_checks.h"
#include "pages/phenytoin/phenytoin_parameter_group.h"
#include "pages/phenytoin/phenytoin_saved_group.h"
#include "pages/widgets/field_rows.h"
#include "records/case_record.h"

PhenytoinPage::PhenytoinPage(PageId id, const QString& heading, HeaderVariant header, QWidget* parent)
    : KinevoPage(id, heading, header, parent) {
    parameters_ = new PhenytoinParameterGroup(this);
    saved_ = new PhenytoinSavedGroup(this);
    warning_ = MakeWarningLine(this);
    checks_ = new LeaveChecks(
        this, [this](QLineEdit* field) { FieldAccepted(field); }, [this] { ClearResults(); });
    const auto fields = parameters_->Fields();
    checks_->Watch(fields[0], VdProblem);
    checks_->Watch(fields[1]);
    checks_->Watch(fields[2]);
    connect(saved_, &PhenytoinSavedGroup::imported, this, [this] {
        parameters_->Show(TheCase());
        Recalculate(nullptr);
    });
}

void PhenytoinPage::RememberShown() { Nav().shownParameters = parameters_->Shown(); }

void PhenytoinPage::PlaceColumns(QLayout* left, QLayout* right, bool currentSetOnTheRight) {
    auto* leftColumn = new QVBoxLayout;
    leftColumn->addLayout(left);
    auto* rightColumn = new QVBoxLayout;
    if (currentSetOnTheRight) rightColumn->addWidget(parameters_);
    rightColumn->addLayout(right);
    if (!currentSetOnTheRight) leftColumn->addWidget(parameters_);
    rightColumn->addWidget(saved_);
    leftColumn->addStretch(1);
    rightColumn->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(leftColumn);
    columns->addSpacing(20);
    columns->addLayout(rightColumn);
    columns->addStretch(1);
    Body()->addLayout(columns);
    Body()->addWidget(warning_);
    Body()->addStretch(1);
}

void PhenytoinPage::AddLeavingButton(const QString& caption, const QString& objectName, std::function<void()> leave) {
    AddButton(caption, objectName, [this, leave = std::move(leave)] {
        if (!checks_->ApplyPending()) return;
        RememberShown();
        leave();
    });
}

void PhenytoinPage::ShowSets() {
    parameters_->Show(TheCase());
    saved_->Load(TheCase());
}

void PhenytoinPage::FieldAccepted(QLineEdit* field) {
    if (!field->isModified()) return;
    const auto fields = parameters_->Fields();
    if (std::any_of(fields.begin(), fields.end(), [](QLineEdit* f) { return f->isModified(); }))
        parameters_->Store(TheCase());
    Recalculate(field);
}

void PhenytoinPage::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up) return FocusPreviousField();
    if (event->key() == Qt::Key_Down) return FocusNextField();
    KinevoPage::keyPressEvent(event);
}

void PhenytoinPage::mousePressEvent(QMouseEvent* event) {
    if (auto* field = qobject_cast<QLineEdit*>(focusWidget())) checks_->CheckNow(field);
    KinevoPage::mousePressEvent(event);
}
