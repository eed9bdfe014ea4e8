// Profiles in the window: a chosen profile sets the options as the user
// would click and type them, and the window's options are what a saved
// profile keeps.
#include "app/generation_strip.h"
#include "app/main_window.h"
#include "app/profiles_menu.h"
#include "platform/qt/qt_text.h"

namespace morvane {

void MainWindow::TakeProfile(const ProfileChoice& choice) {
    Trap("TakeProfile", [&] {
        const GenerationSettings& s = choice.settings;
        generationStrip->Take(s, QString::fromStdString(choice.site));
        // The letter box first: clearing it clears both cases, and either
        // case checks it again.
        chkLetter->setChecked(s.upper || s.lower);
        chkUpper->setChecked(s.upper);
        chkLower->setChecked(s.lower);
        chkNumber->setChecked(s.numbers);
        chkSpecial->setChecked(s.special);
        txtOtherIn->setText(ToQt(s.other_in_text));
        chkOtherIn->setChecked(s.other_in);
        chkSpace->setChecked(!s.spaces);  // the box leaves the blank out
        chkAlike->setChecked(s.look_alikes_out);
        txtOtherOut->setText(ToQt(s.other_out_text));
        chkOtherOut->setChecked(s.other_out);
        // A rule's length is the strip's: the length fields keep their
        // defaults. With a fixed length the two fields follow each other.
        const GenerationSettings lengths = s.site_rules() ? GenerationSettings{} : s;
        chkVarLen->setChecked(lengths.variable_length);
        txtMaxLen->setText(QString::number(lengths.max_length));
        txtMinLen->setText(QString::number(lengths.variable_length ? lengths.min_length : lengths.max_length));
        txtNum->setText(QString::number(s.count));
        chkDuplicate->setChecked(s.unique);
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
