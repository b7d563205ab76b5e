#pragma once
// Pages 154 and 153: the curve-fitting set-up, then the dosing and level
// histories the fits run on.
#include "pages/fitting_setup_page.h"
#include "pages/history_page.h"
