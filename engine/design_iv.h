#pragma once
// The IV regimen page's design: dose and interval for a desired post and
// trough of an intermittent infusion, or the daily amount for a desired
// average of a continuous one, each with its loading dose.
#include <functional>

#include "engine/design_common.h"

// Intermittent route 'D': runs when no desired average is read, post, trough
// and infusion time are given, the infusion time and the trough are above 0
// and the trough is not above the post. Any other route: the continuous
// design for a desired average above 0.
RegimenDesign DesignIv(const RegimenModel& m, char routeCode, const DesignInputs& in);

// The two-compartment interval search for a root of f from `start` and
// start + 0.1: secant steps until the root is bracketed, then bisection, until
// |f| <= 0.0001 or after 30 iterations; gives the last interval tried.
double IntervalRoot(const std::function<double(double)>& f, double start);
