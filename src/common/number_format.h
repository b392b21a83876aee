#pragma once

#include <string>

// The number texts of the spreadsheet formats the reports use, and the numbers those texts denote.
namespace common {

// General format: at most 15 significant digits, plain decimal notation (no exponent), no trailing
// zeros, no decimal point for whole numbers: 85.5, 90, 10203001, 0.1 (for 0.1000000000000000055...).
// Negative zero gives "0"; a value that is no finite number gives "#NUM!".
std::string formatGeneral(double value);
// The number that formatGeneral's text denotes (the value rounded to 15 significant digits).
double roundGeneral(double value);

// Number formats "0" (decimals = 0) and "0.0" (decimals = 1): the value is first taken to 15
// significant digits, then rounded to `decimals` places with halves away from zero
// (85.25 -> "85.3", 74.15 -> "74.2", 74.125 -> "74.1", 14 -> "14.0").
std::string formatFixed(double value, int decimals);
// The number that formatFixed's text denotes.
double roundFixed(double value, int decimals);

} // namespace common
