#pragma once

#include <string>

// The text content of an edit field as a narrow string (UTF-8 here), empty when the field is
// empty. Passed by value between the window and the calculation.
using FieldText = std::string;
