#pragma once

#include "platform/runtime/FieldText.h"

// Reads the number at the start of a field text: optional leading white space, sign, digits with
// at most one '.', optional exponent. Reading stops at the first character that cannot continue
// the number; the rest is ignored, and so is everything after an embedded NUL. An 'e' or 'E'
// after the digits belongs to the number, so an exponent without digits ("9e", "1.5e", "5e+")
// leaves the whole number unreadable. The decimal separator is always '.', whatever the locale.
// Text with no readable number, or a number beyond the range of a double, gives 0.
double TextToDouble(FieldText text);
