#pragma once

#include <clocale>

// Switches the C library to a German locale (',' as decimal point), whichever name this C library
// knows it by; returns false when it knows none.
inline bool UseCommaDecimalCLocale() {
  for (const char* name : {"de_DE.UTF-8", "German_Germany.1252", "de-DE"}) {
    if (std::setlocale(LC_ALL, name) != nullptr) return true;
  }
  return false;
}
