#include "platform/forms/Contrast.h"

#include <algorithm>
#include <cmath>

namespace {

double Linear(std::uint8_t channel) {
  const double value = channel / 255.0;
  return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

// A background is dark where white text on it stands out more than black text.
bool IsDark(Rgb background) {
  return ContrastRatio(background, {255, 255, 255}) > ContrastRatio(background, {0, 0, 0});
}

}  // namespace

double RelativeLuminance(Rgb colour) {
  return 0.2126 * Linear(colour.r) + 0.7152 * Linear(colour.g) + 0.0722 * Linear(colour.b);
}

double ContrastRatio(Rgb a, Rgb b) {
  const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb HintColourOn(Rgb background) {
  if (!IsDark(background)) return kPureRed;
  // Mixing in white raises the luminance step by step; on a dark background white itself passes.
  for (int white = 0; white < 255; ++white) {
    const Rgb lighter{255, static_cast<std::uint8_t>(white), static_cast<std::uint8_t>(white)};
    if (ContrastRatio(lighter, background) >= kReadableContrast) return lighter;
  }
  return {255, 255, 255};
}
