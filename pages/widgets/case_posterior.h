#pragma once
// The posterior of the case's stored Bayesian set for the pages that judge
// a regimen by it: drawn once per fitted set, off the window's thread while
// the window keeps painting, and kept until the set or its levels change.
#include "engine/posterior.h"

struct CaseRecord;

// Missing when the case has no usable Bayesian fit to draw from. The draws
// are made while the window keeps painting.
const Posterior* CasePosterior(const CaseRecord& r);
// The same, drawn on the calling thread: for work already off the window's
// thread, whose draws the pages then find kept.
const Posterior* CasePosteriorHere(const CaseRecord& r);
