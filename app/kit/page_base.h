#pragma once
// What every page shares: the title "Kinevo", the institution line, the
// optional patient header strip, the window state carried from page to page,
// the exit question on Esc and the close box, and the Enter key.
#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

#include "app/kit/header_strip.h"
#include "records/navigation_codes.h"

class QHBoxLayout;
class QLabel;
class QPushButton;
#include <QVBoxLayout>

class KinevoPage : public QDialog {
    Q_OBJECT
public:
    KinevoPage(PageId id, const QString& heading, std::optional<HeaderVariant> header, QWidget* parent = nullptr);
    ~KinevoPage() override;

    PageId DialogId() const { return id_; }
    // Opens the page and runs it modally; returns its result code.
    int Run();
    // The opening steps alone (tests show the page and press its buttons).
    void Open();
    // Clears what the page shows and keeps; working pages override it.
    virtual void Reset() {}
    HeaderStrip* Header() const { return header_; }
    // Never taller than the screen's free area, so the page is first placed on it.
    QSize sizeHint() const override;

signals:
    // The opening steps are done; the page is about to be shown.
    void opened();

protected:
    virtual void OnOpen() {}
    // Enter pressed while no button has the focus.
    virtual void OnEnter();
    // Records the window state for the next page, then closes with `code`.
    void Leave(int code);
    // Towards the end page or the report page, saying which page led there.
    void LeaveToEnd(EndSource source);
    void LeaveToReport(ReportSource source);
    // "Are you sure you want to exit Kinevo?"; true on OK.
    bool ConfirmExit();
    // Esc and the close box: the exit question, OK closes with code 2.
    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;
    // Keeps the window at least as large as what the page holds, also when
    // a table grows with its contents after the page opened.
    bool event(QEvent* event) override;

    QVBoxLayout* Body() const { return body_; }
    // Under the body, never scrolled out of sight: for a message line that
    // says why a way on is closed.
    QVBoxLayout* Footer() const { return footer_; }
    QPushButton* AddButton(const QString& caption, const QString& objectName, std::function<void()> onClick);
    // Enter moves the focus along these, wrapping to the first.
    void SetFieldOrder(std::vector<QWidget*> fields) { fieldOrder_ = std::move(fields); }
    void FocusNextField();
    // Backwards along the same order, wrapping to the last.
    void FocusPreviousField();

private:
    PageId id_;
    QLabel* institution_;
    HeaderStrip* header_ = nullptr;
    // The least size: the contents whole, or scrolled where the screen is too low.
    QSize LeastSize() const;
    // The height a window can have on the screen's free area.
    int ScreenRoom() const;
    class BodyArea* bodyArea_;
    QVBoxLayout* body_;
    QVBoxLayout* footer_;
    QHBoxLayout* buttons_;
    std::vector<QWidget*> fieldOrder_;
};

// The one page object of each dialog, found by its dialog number.
KinevoPage* PageById(PageId id);
void ResetPage(PageId id);
// Resets the pages the program named with SetPagesToReset, in that order.
void ResetAllPages();
