#pragma once

#include <string>

// The text content of an edit field as a narrow string, empty when the field is empty: UTF-8 on
// the Qt backend, the ANSI code page's bytes on the Win32 backend. The calculation reads ASCII
// only, the same in both. Passed by value between the window and the calculation.
using FieldText = std::string;
