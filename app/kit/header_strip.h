#pragma once
// The line of patient data at the top of the working pages.
#include <QWidget>
#include <string>

class QLabel;
struct CaseRecord;

enum class HeaderVariant {
    Full,             // the factor, regimen, forecast, history, analysis, report and end pages
    FittingSetUp,     // the fitting set-up page: the user's drug is marked one-compartment
    NoDrugLine,       // the phenytoin regimen page (phenytoin only)
    NoDrugNoAlbumin,  // the user's choice page
};

struct HeaderTexts {
    std::string date, id, name, ageValue, ageUnit, sex, weight, height, renal, albumin, drug;
};

HeaderTexts HeaderTextsOf(const CaseRecord& r, double now, HeaderVariant variant);

class HeaderStrip : public QWidget {
    Q_OBJECT
public:
    explicit HeaderStrip(HeaderVariant variant, QWidget* parent = nullptr);
    void Fill(const CaseRecord& r, double now);
    const HeaderTexts& Texts() const { return texts_; }

private:
    HeaderVariant variant_;
    HeaderTexts texts_;
    bool showAlbumin_;
    QLabel *date_, *id_, *name_, *age_, *sex_, *weight_, *height_, *renal_, *albumin_, *drug_;
};
