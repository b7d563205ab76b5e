#pragma once
// The oral/IM regimen page's design: dose and interval for a desired peak
// and trough, or the daily amount for a desired average, each with its
// loading dose.
#include "engine/design_common.h"

// The average target is read for dg, li, pb, qd, th and zz and takes over
// when above 0; otherwise the peak-and-trough design runs when both are
// given, the trough is above 0 and not above the peak.
RegimenDesign DesignOral(const RegimenModel& m, const DesignInputs& in);
