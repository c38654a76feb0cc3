#pragma once

#include <string>

// Renders a floating-point value as general-format decimal text with 15 significant digits,
// trailing zeros dropped and '.' as decimal separator whatever the locale: "5.74468085106383",
// "1e+20", "1.5e-07". Zero of either sign is "0"; non-finite values are "INF", "-INF", "NAN".
std::string FloatToStr(long double value);
