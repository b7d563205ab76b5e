#include "pages/drug/route_product_list.h"

#include <QSignalBlocker>

#include "engine/user_drug.h"
#include "records/case_record.h"
#include "records/drug_catalogue.h"

bool IsIntravenous(const std::string& routeProduct) {
    const char route = RouteCodeOf(routeProduct);
    return route == 'C' || route == 'D';
}

RouteProductList::RouteProductList(QWidget* parent) : QComboBox(parent) {
    setObjectName("routeProduct");
    setMinimumContentsLength(30);
}

void RouteProductList::Fill(const CaseRecord& r, bool intravenousPage) {
    const QSignalBlocker quiet(this);
    clear();
    std::vector<std::string> products;
    products = r.Drug_ID == "zz" ? UserDrugRouteProducts(r.userDrug) : RouteProductsOf(r.Drug_ID);
    for (const std::string& p : products) addItem(QString::fromStdString(p));
    auto belongs = [&](const std::string& p) {
        return !p.empty() && IsIntravenous(p) == intravenousPage && findText(QString::fromStdString(p)) >= 0;
    };
    std::string shown;
    if (belongs(r.RouteProduct)) shown = r.RouteProduct;
    else if (belongs(DefaultRouteProduct(r.Drug_ID))) shown = DefaultRouteProduct(r.Drug_ID);
    else
        for (const std::string& p : products)
            if (belongs(p)) {
                shown = p;
                break;
            }
    setCurrentIndex(findText(QString::fromStdString(shown)));
}
