// The entries read into the settings of a run, and leniently for the
// strength line.
#include "app/frm_main.h"
#include "options/number_text.h"

namespace morvane {

void frmMain::ReadChoices(GenerationSettings& s) {
    s.spaces = c_.chkSpace->Value() == 0;  // the box excludes the blank
    s.special = c_.chkSpecial->Value() == 1;
    s.numbers = c_.chkNumber->Value() == 1;
    s.upper = c_.chkUpper->Value() == 1;
    s.lower = c_.chkLower->Value() == 1;
    s.other_in = c_.chkOtherIn->Value() == 1;
    s.other_in_text = c_.txtOtherIn->GetText();
    s.look_alikes_out = c_.chkAlike->Value() == 1;
    s.other_out = c_.chkOtherOut->Value() == 1;
    s.other_out_text = c_.txtOtherOut->GetText();
    if (!s.site_rules()) s.variable_length = c_.chkVarLen->Value() == 1;  // a rule's length is the strip's
    s.unique = c_.chkDuplicate->Value() == 1;
}

GenerationSettings frmMain::WindowSettings() const {
    return env_.window_settings ? env_.window_settings() : GenerationSettings{};
}

GenerationSettings frmMain::Settings() {
    GenerationSettings s = WindowSettings();
    ReadChoices(s);
    // Passphrases take only the count, and site rules their own length; the
    // length fields stand aside.
    if (!s.passphrases() && !s.site_rules()) {
        s.min_length = ToInt16(LeadingValue(c_.txtMinLen->GetText()));
        s.max_length = ToInt16(LeadingValue(c_.txtMaxLen->GetText()));
    }
    s.count = ToInt32(LeadingValue(c_.txtNum->GetText()));
    return s;
}

frmMain::SettingsAsEntered frmMain::ReadEntries() {
    GenerationSettings s = WindowSettings();
    ReadChoices(s);
    if (s.passphrases() || s.site_rules()) return {s, {}};
    const auto none = [](const char* why) { return SettingsAsEntered{std::nullopt, why}; };
    switch (CheckInclude(c_.chkLetter->Value() == 1, s)) {
        case IncludeVerdict::kPasses: break;
        case IncludeVerdict::kNoLetterCase: return none("choose upper-case or lower-case letters.");
        case IncludeVerdict::kNothingChosen: return none("choose at least one type of character.");
    }
    const Text min_text = c_.txtMinLen->GetText(), max_text = c_.txtMaxLen->GetText();
    if (CheckLength(min_text) != FieldVerdict::kPasses) return none("Min Length is not a whole number from 4 to 128.");
    if (CheckLength(max_text) != FieldVerdict::kPasses) return none("Max Length is not a whole number from 4 to 128.");
    if (!LengthsInOrder(min_text, max_text)) return none("Min Length is greater than Max Length.");
    if (const char* why = ReadCount(s)) return none(why);
    s.min_length = ToInt16(LeadingValue(min_text));
    s.max_length = ToInt16(LeadingValue(max_text));
    return {s, {}};
}

const char* frmMain::ReadCount(GenerationSettings& s) {
    const Text count_text = c_.txtNum->GetText();
    if (CheckCount(count_text) != FieldVerdict::kPasses)
        return "Number of Passwords is not a whole number from 1 to 2147483647.";
    s.count = ToInt32(LeadingValue(count_text));
    return nullptr;
}

}  // namespace morvane
