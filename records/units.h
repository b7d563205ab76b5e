#pragma once
// Unit conversions, each defined once. The weight and height factors are the
// ones stored cases were written with (2.5399 is not 1/0.3937...): changing
// them would move every reloaded weight and height.

// Entered weights and heights.
inline constexpr double kLbPerKg = 2.2046001186074866;
inline constexpr double kKgPerLb = 0.453597;
inline constexpr double kInchPerCm = 0.39371628804283637;
inline constexpr double kCmPerInch = 2.5399;

// The exact inch (2.54 cm) and pound, for body-size formulas and exchanged data.
inline constexpr double kExactInchPerCm = 0.39370078740157477;
inline constexpr double kExactCmPerInch = 2.54;
inline constexpr double kExactKgPerLb = 0.45359237;

// Lithium doses are typed in mg of the carbonate salt; its levels are in mEq/L.
inline constexpr double kLithiumMgToMeq = 0.027066666666666666;
inline constexpr double kLithiumMeqToMg = 36.94581280788178;

// Serum creatinine, 113.12 g/mol: 1 mg/dL is 10000 / 113.12 = 88.40 umol/L.
inline constexpr double kCreatinineMolarMass = 113.12;
inline constexpr double kCreatinineUmolPerMgDl = 10000 / kCreatinineMolarMass;
