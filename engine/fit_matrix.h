#pragma once
// The small symmetric matrices of the fitting search.
#include "records/parameter_set.h"

// Inverts the leading n x n block of `a` (n <= 5) by Gaussian elimination with
// partial pivoting, then forward and back substitution with each unit vector.
// A pivot below 1e-8 in absolute value marks `a` singular: false is returned
// and `inverse` keeps what it held.
bool InvertMatrix(const FitMatrix& a, int n, FitMatrix& inverse);
