#include "pages/report/report_heading.h"

#include "app/kit/header_strip.h"
#include "app/kit/institution.h"

ReportHeading ReportHeadingOf(const CaseRecord& r, double now) {
    const HeaderTexts h = HeaderTextsOf(r, now, HeaderVariant::Full);
    return {InstitutionName(), h.drug, h.name, h.id, h.date, h.ageValue, h.ageUnit, h.sex};
}
