#pragma once
// The report's second page: the evidence behind the recommendation, as
// texts. No Qt here, so every row is tested without a printer.
#include <string>
#include <vector>

#include "output/report_content.h"

struct Posterior;

// Column headings and rows of cells, one text a cell.
struct EvidenceTable {
    std::vector<std::string> headings;
    std::vector<std::vector<std::string>> rows;
};

struct ReportEvidence {
    EvidenceTable doses;   // the dosing history as entered
    EvidenceTable levels;  // date, time, measured and predicted by the report's set
    EvidenceTable parameters;
    std::string rangeSource;  // what the parameters' ranges are and where they come from
    std::vector<std::string> model;
    EvidenceTable priors;  // the means and spreads the Bayesian fit started from
    std::vector<std::string> attainment;
};

// `kind` names the set the report uses (Bayesian or least squares);
// `posterior`, when given, is the record's Bayesian posterior; `regimen` is
// the recommended regimen as the report prints it.
ReportEvidence ReportEvidenceOf(const CaseRecord& r, ReportKind kind, const ReportRegimen& regimen,
                                const Posterior* posterior);
