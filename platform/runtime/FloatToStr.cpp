#include "platform/runtime/FloatToStr.h"

#include <array>
#include <charconv>
#include <cmath>

std::string FloatToStr(long double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";  // also -0

  constexpr int kSignificantDigits = 15;
  std::array<char, 64> buffer{};
  const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                          std::chars_format::general, kSignificantDigits);
  return std::string(buffer.data(), end);
}
