#include "calc/ComputeEv.h"

#include "calc/TextToDouble.h"
#include "platform/runtime/FloatToStr.h"

#include <cfloat>
#include <utility>

// The results depend on every intermediate being rounded to a double. On a 32-bit x86 build that
// takes SSE2 arithmetic (-msse2 -mfpmath=sse): the x87 would keep extended precision.
static_assert(FLT_EVAL_METHOD == 0,
              "build with SSE2 floating point: doubles must round as doubles");

namespace {
constexpr double DeckSize = 52;
}  // namespace

double Negate(double value) { return value * -1; }

EvResults ComputeEv(FieldText moneyToCall, FieldText winnings, FieldText outs,
                    FieldText knownCards) {
  const double MoneyToCall = TextToDouble(std::move(moneyToCall));
  const double Winnings = TextToDouble(std::move(winnings));
  const double Outs = TextToDouble(std::move(outs));
  const double KnownCards = TextToDouble(std::move(knownCards));

  // Each intermediate is held in a double, so it is rounded to double before the next step.
  const double Probability = Outs / (DeckSize - KnownCards);
  const double callEv = Probability * Winnings;
  const double foldEv = Negate(MoneyToCall) * (1 - Probability);

  return {FloatToStr(callEv), FloatToStr(foldEv)};
}
