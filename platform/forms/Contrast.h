#pragma once

// Colour contrast as WCAG 2 measures it, and the hint colour that stays readable on a background.

#include <cstdint>

struct Rgb {
  std::uint8_t r, g, b;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kPureRed{255, 0, 0};

// The relative luminance of an sRGB colour: 0 for black, 1 for white.
double RelativeLuminance(Rgb colour);

// (lighter + 0.05) / (darker + 0.05): from 1 (same luminance) to 21 (black on white).
double ContrastRatio(Rgb a, Rgb b);

// The least contrast text of the hint's size needs to be readable.
inline constexpr double kReadableContrast = 4.5;

// Pure red on a light background. On a dark one, red lightened just enough to reach
// kReadableContrast against it (pure red where it already does).
Rgb HintColourOn(Rgb background);
