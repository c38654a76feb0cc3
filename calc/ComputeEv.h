#pragma once

#include "platform/runtime/FieldText.h"

#include <string>

// Data flow of a click: four field texts -> TextToDouble -> ComputeEv -> two texts -> result
// fields. ComputeEv holds no state and no window code.

struct EvResults {
  std::string CallEv;  // Probability x Winnings
  std::string FoldEv;  // -MoneyToCall x (1 - Probability)
};

// Returns value x -1.
double Negate(double value);

// Computes the chance of drawing one of the outs from the unseen rest of a 52-card deck and the
// two expected values, rendered as text. No input is rejected or clamped; 52 known cards divide
// by zero and render as "INF", "-INF" or "NAN".
EvResults ComputeEv(FieldText moneyToCall, FieldText winnings, FieldText outs,
                    FieldText knownCards);
