#pragma once
// Page 151: the report printing options; Print prints and leads to the end
// page, Previous goes back to the page that opened the report.
#include <functional>

#include "app/kit/page_base.h"
#include "app/kit/result_codes.h"

class QPrinter;
class QPushButton;

class ReportPage : public KinevoPage {
    Q_OBJECT
public:
    using ReportPrinter = std::function<void(QPrinter&)>;
    explicit ReportPage(QWidget* parent = nullptr);
    // Draws the report onto the chosen printer; Print is offered only once
    // there is one.
    void SetReportPrinter(ReportPrinter printer);

protected:
    // No Enter handling of its own: Enter closes the page back to the welcome page.
    void OnEnter() override { Leave(code::kBackToWelcome); }

private:
    void Previous();
    void Print();
    ReportPrinter printReport_;
    QPushButton* print_;
};
