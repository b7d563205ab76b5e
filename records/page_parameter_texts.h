#pragma once
// The parameter fields of the page that led to the end page, as shown; the
// end page's save stores them.
#include <string>

struct PageParameterTexts {
    std::string F, Vd, Cl, CF, Km, Vmax;
    // The values behind F and CF on the oral/IM regimen page, stored as "%.2f".
    double FValue = 0, CFValue = 0;
};
