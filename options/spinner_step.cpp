#include "options/spinner_step.h"

#include <algorithm>
#include <cmath>

#include "options/number_text.h"

namespace morvane {

int64_t SpinnerStep(const Text& field_text, int64_t last_value, int64_t lowest, int64_t highest,
                    int direction) {
    int64_t base = last_value;
    if (IsNumericText(field_text)) {
        double whole = std::nearbyint(LeadingValue(field_text));
        if (whole >= static_cast<double>(lowest) && whole <= static_cast<double>(highest))
            base = static_cast<int64_t>(whole);
    }
    return std::clamp<int64_t>(base + direction, lowest, highest);
}

}  // namespace morvane
