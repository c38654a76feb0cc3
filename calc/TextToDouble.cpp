#include "calc/TextToDouble.h"

#include <locale>
#include <sstream>

double TextToDouble(FieldText text) {
  double result = 0.0;

  std::stringstream stream(std::ios::in | std::ios::out);
  // '.' as decimal point and no grouping, whatever the global locale. Imbuing costs more than
  // the rest of the call, so it is skipped when the stream already has the classic locale.
  if (stream.getloc() != std::locale::classic()) stream.imbue(std::locale::classic());
  stream.width(0);
  stream << text.c_str();  // up to the first NUL

  // A failed extraction (nothing readable, or out of range) may still store a value; drop it.
  if (double value = 0.0; stream >> value) result = value;
  return result;
}
