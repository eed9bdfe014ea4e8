// Profiles in the window: a chosen profile sets the options as the user
// would click and type them, and the window's options are what a saved
// profile keeps.
#include "app/generation_strip.h"
#include "app/main_window.h"
#include "app/profiles_menu.h"

namespace morvane {

void MainWindow::TakeProfile(const ProfileChoice& choice) {
    Trap("TakeProfile", [&] {
        const GenerationSettings& s = choice.settings;
        generationStrip->Take(s, QString::fromStdString(choice.site));
        form_->TakeSettings(s);
    });
}

std::optional<GenerationSettings> MainWindow::OptionsForProfile(std::string& why) {
    // Passphrases and site rules are read without the count, which they
    // keep as well.
    frmMain::SettingsAsEntered entered = form_->ReadEntries();
    const char* no_count = entered.settings ? form_->ReadCount(*entered.settings) : nullptr;
    if (!entered.settings || no_count) {
        why = no_count ? no_count : entered.why_none;
        return std::nullopt;
    }
    return entered.settings;
}

}  // namespace morvane
