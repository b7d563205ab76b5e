#pragma once
// The regimen saved with a case, as the page that produced it shows it.
#include <string>

struct SavedRegimen {
    std::string Dose;
    std::string Form;
    std::string Route;
    std::string Inf_time;
    std::string Interval;
    std::string Post_time;
    std::string Average_Obs;
    std::string Average_Adj;
};
