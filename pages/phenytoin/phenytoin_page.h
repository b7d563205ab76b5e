#pragma once
// What the two phenytoin pages share: the current and saved parameter sets,
// the checks made on leaving a field, the warning line, and buttons that
// keep what the page shows before it closes.
#include <functional>

#include "app/kit/page_base.h"

class LeaveChecks;
class PhenytoinParameterGroup;
class PhenytoinSavedGroup;
class QLabel;
class QLayout;
class QLineEdit;

class PhenytoinPage : public KinevoPage {
    Q_OBJECT
public:
    PhenytoinPage(PageId id, const QString& heading, HeaderVariant header, QWidget* parent);

protected:
    void OnEnter() override { FocusNextField(); }
    // Up and Down move between the fields; a click on the page applies the
    // field being typed in, as leaving it would.
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // After a field the user changed was accepted (nullptr: other changes).
    virtual void Recalculate(QLineEdit* changed) = 0;
    // Empties the results, which a refused value leaves belonging to other inputs.
    virtual void ClearResults() = 0;
    // For the report and the save; the parameters as shown.
    virtual void RememberShown();
    // The page's two columns with the current set at the top of the right
    // one or under the left one, the saved set on the right, and the
    // warning line below.
    void PlaceColumns(QLayout* left, QLayout* right, bool currentSetOnTheRight);
    // Fields typed in but not left are applied first; a refused one keeps the page open.
    void AddLeavingButton(const QString& caption, const QString& objectName, std::function<void()> leave);
    // Both sets shown afresh from the record (the saved one read again).
    void ShowSets();
    PhenytoinParameterGroup* parameters_;
    PhenytoinSavedGroup* saved_;
    LeaveChecks* checks_;
    QLabel* warning_;

private:
    void FieldAccepted(QLineEdit* field);
};
