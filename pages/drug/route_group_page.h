#pragma once
// A forecast or regimen page of one route group, intravenous or oral/IM:
// the product list, the current parameter set and the page's own fields,
// recomputed for the groups typed in when the focus leaves a field (Tab or
// a click), on a click on the page and on Enter. Choosing a product of the
// other group leads to the twin page of that group.
#include <QSet>

#include "app/kit/page_base.h"

class FieldWatch;
class ParameterPanel;
class RouteProductList;
struct CaseRecord;

class RouteGroupPage : public KinevoPage {
    Q_OBJECT
public:
    // `pageCode`: the code that opens this page, naming it to the warning text.
    RouteGroupPage(PageId id, const QString& heading, bool intravenous, int twinCode, int pageCode, QWidget* parent);
    RouteProductList* Products() const { return products_; }

protected:
    static constexpr int kParameterGroup = 0;
    // Puts the page's own fields beside the parameters.
    void SetForm(QWidget* form);
    // A group of the page's own under the parameters.
    void AddUnderParameters(QWidget* part);
    void OnOpen() override;
    void OnEnter() override;
    void mousePressEvent(QMouseEvent* event) override;
    // Shows the case's units and the fields of its route.
    virtual void ShowCase(const CaseRecord& r) = 0;
    // Recomputes the results of `groups` (every group after a parameter or
    // product change).
    virtual void Compute(const QSet<int>& groups) = 0;
    // Empties the results, which a refused value leaves belonging to other inputs.
    virtual void ClearResults() = 0;
    // Everything recomputed, as after a change of the parameters.
    void ComputeAll();
    FieldWatch& Watch() const { return *watch_; }
    // Before the page closes: the results of what was typed, the page's own
    // keeping (Keep) and its parameter texts for the end page's save; false,
    // with the field's message, while a field holds a refused value.
    bool KeepState();
    virtual void Keep() {}

private:
    void Run(const QSet<int>& groups);
    void ProductChosen(const QString& product);
    // The stored Vd, Cl and CF become the current set's.
    void ImportSaved();
    bool intravenous_;
    int twinCode_;
    RouteProductList* products_;
    ParameterPanel* panel_;
    class SavedParameters* saved_;
    FieldWatch* watch_;
    class QHBoxLayout* columns_;
    class QVBoxLayout* right_;
};
