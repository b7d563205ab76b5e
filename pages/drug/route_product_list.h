#pragma once
// The "Route - Product" list of the forecast and regimen pages: the case's
// drug's products, the case's own product (or the drug's default) selected.
#include <QComboBox>
#include <string>

struct CaseRecord;

// Intravenous products (route code C or D) belong to the IV pages.
bool IsIntravenous(const std::string& routeProduct);

class RouteProductList : public QComboBox {
    Q_OBJECT
public:
    explicit RouteProductList(QWidget* parent = nullptr);
    // Refills the list for the case and selects the case's product when it
    // belongs to the page (intravenous or not), else the drug's default or
    // the first product that does. Signals nothing while doing so.
    void Fill(const CaseRecord& r, bool intravenousPage);
};
