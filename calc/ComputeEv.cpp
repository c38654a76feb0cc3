#include "calc/ComputeEv.h"

#include "calc/TextToDouble.h"
#include "platform/runtime/FloatToStr.h"

#include <utility>

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
