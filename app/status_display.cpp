// The status word of the progress panel.
#include "app/frm_main.h"

namespace morvane {
namespace {

struct StatusRow {
    const char32_t* word;
    Rgb color;
    bool empties_progress;
};

constexpr Rgb kGreen{0, 192, 0};
constexpr Rgb kDarkBlue{0, 0, 128};
constexpr Rgb kDarkRed{192, 0, 0};

StatusRow LookUp(int code) {
    switch (code) {
        case kStatusReady: return {U"Ready", kGreen, true};
        case kStatusComplete: return {U"Complete", kGreen, false};
        case kStatusFileSaved: return {U"File saved", kGreen, true};
        case kStatusPrintComplete: return {U"Print complete", kGreen, true};
        case kStatusBuilding: return {U"Building...", kDarkBlue, false};
        case kStatusInputError: return {U"Input Error", kDarkRed, true};
        case kStatusPrintCancelled: return {U"Print cancelled", kDarkRed, true};
        case kStatusSaveCancelled: return {U"Save cancelled", kDarkRed, true};
        default: return {U"ANOMALY", kDarkRed, false};
    }
}

}  // namespace

void frmMain::ChangeStatus(int code) {
    Trap("ChangeStatus", [&] {
        StatusRow row = LookUp(code);
        c_.txtStatus->SetForeColor(row.color);
        c_.txtStatus->SetText(row.word);
        if (row.empties_progress) c_.txtProgress->SetText(U"");
    });
}

}  // namespace morvane
