// Fuzzes the number reader and the calculation, checking properties on every input:
// - the reader returns a finite value, the same for the same text;
// - for a text with a non-blank character and no NUL, appending a blank and anything else does not
//   change the value;
// - ComputeEv never throws, and each text it renders reads back within 1e-14 relative of the value
//   it renders, or is "INF", "-INF" or "NAN" for a non-finite value.

#include "calc/ComputeEv.h"
#include "calc/TextToDouble.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace {

void Require(bool condition, const char* property, const std::string& detail) {
  if (condition) return;
  std::fprintf(stderr, "property violated: %s (%s)\n", property, detail.c_str());
  std::abort();
}

bool HasNonBlank(const std::string& text) {
  return std::ranges::any_of(text, [](char c) { return c != ' ' && !(c >= '\t' && c <= '\r'); });
}

void CheckRendered(const std::string& text, double value) {
  if (std::isnan(value)) return Require(text == "NAN", "NaN renders as NAN", text);
  if (std::isinf(value)) {
    return Require(text == (value < 0 ? "-INF" : "INF"), "infinity renders as INF", text);
  }
  // 15 significant digits can round the largest doubles past the range; they read back as 0.
  if (std::abs(value) > 1.797693134862315e308) return;
  const double back = TextToDouble(text);
  const double tolerance = 1e-14 * std::abs(value);
  Require(std::abs(back - value) <= tolerance || back == value, "rendered text reads back", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const std::string text = provider.ConsumeRandomLengthString(256);
  const std::string tail = provider.ConsumeRandomLengthString(64);

  const double value = TextToDouble(text);
  Require(std::isfinite(value), "finite", text);
  const double again = TextToDouble(text);
  Require(std::memcmp(&value, &again, sizeof value) == 0, "same text, same value", text);
  if (HasNonBlank(text) && text.find('\0') == std::string::npos) {
    Require(TextToDouble(text + " " + tail) == value, "a blank ends the number", text);
  }

  const std::string outs = provider.ConsumeRandomLengthString(32);
  const std::string known = provider.ConsumeRandomLengthString(32);
  const std::string call = provider.ConsumeRandomLengthString(32);
  const EvResults results = ComputeEv(call, text, outs, known);
  const double probability = TextToDouble(outs) / (52 - TextToDouble(known));
  CheckRendered(results.CallEv, probability * value);
  CheckRendered(results.FoldEv, -TextToDouble(call) * (1 - probability));
  return 0;
}
