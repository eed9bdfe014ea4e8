#pragma once
// Reading numbers from the text of an entry field.
#include <cstdint>

#include "platform/base/text.h"

namespace morvane {

// True when the whole text reads as a number: blanks, an optional sign,
// digits with at most one decimal point, an optional exponent, blanks.
bool IsNumericText(const Text& text);

// The value of the text's leading numeric part (0 when there is none).
double LeadingValue(const Text& text);

// To the nearest whole number, halves to the even neighbour; a value that
// does not fit is an overflow.
int16_t ToInt16(double value);
int32_t ToInt32(double value);

}  // namespace morvane
