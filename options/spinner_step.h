#pragma once
// The number a spinner writes into its field when an arrow is pressed.
#include <cstdint>

#include "platform/base/text.h"

namespace morvane {

// Steps from the field's number when it lies in the range, otherwise from
// the spinner's last value; stops at the ends of the range.
int64_t SpinnerStep(const Text& field_text, int64_t last_value, int64_t lowest, int64_t highest,
                    int direction);

}  // namespace morvane
