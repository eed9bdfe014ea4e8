// The entries read into the settings of a run, and leniently for the
// strength line.
#include "app/frm_main.h"
#include "options/number_text.h"

namespace morvane {

namespace {

// The option boxes and fields and the settings they stand for: the window
// reads its options, and a profile sets them, through these tables. The
// letter box is no setting of its own: it follows the two cases.
struct BoxBinding {
    CheckBox* MainControls::*box;
    bool GenerationSettings::*setting;
    bool checked_is;  // the setting's value while the box is checked; unchecked gives the other
};
constexpr BoxBinding kOptionBoxes[] = {
    {&MainControls::chkUpper, &GenerationSettings::upper, true},
    {&MainControls::chkLower, &GenerationSettings::lower, true},
    {&MainControls::chkNumber, &GenerationSettings::numbers, true},
    {&MainControls::chkSpecial, &GenerationSettings::special, true},
    {&MainControls::chkSpace, &GenerationSettings::spaces, false},  // the box leaves the blank out
    {&MainControls::chkAlike, &GenerationSettings::look_alikes_out, true},
    {&MainControls::chkDuplicate, &GenerationSettings::unique, true},
};
// Each "Other" field is taken before its box, so that the box's click
// finds the characters it stands for.
struct TextBinding {
    TextBox* MainControls::*field;
    Text GenerationSettings::*text;
    CheckBox* MainControls::*box;
    bool GenerationSettings::*setting;
};
constexpr TextBinding kOtherFields[] = {
    {&MainControls::txtOtherIn, &GenerationSettings::other_in_text, &MainControls::chkOtherIn,
     &GenerationSettings::other_in},
    {&MainControls::txtOtherOut, &GenerationSettings::other_out_text, &MainControls::chkOtherOut,
     &GenerationSettings::other_out},
};

}  // namespace

void frmMain::ReadChoices(GenerationSettings& s) {
    // Only a box's own state counts: a grayed box gives neither value.
    for (const BoxBinding& b : kOptionBoxes) s.*b.setting = (c_.*b.box)->Value() == (b.checked_is ? 1 : 0);
    for (const TextBinding& t : kOtherFields) {
        s.*t.text = (c_.*t.field)->GetText();
        s.*t.setting = (c_.*t.box)->Value() == 1;
    }
    if (!s.site_rules()) s.variable_length = c_.chkVarLen->Value() == 1;  // a rule's length is the strip's
}

void frmMain::TakeSettings(const GenerationSettings& s) {
    // The letter box first: clearing it clears both cases, and either case
    // checks it again.
    c_.chkLetter->SetValue(s.upper || s.lower ? 1 : 0);
    for (const BoxBinding& b : kOptionBoxes) (c_.*b.box)->SetValue(s.*b.setting == b.checked_is ? 1 : 0);
    for (const TextBinding& t : kOtherFields) {
        (c_.*t.field)->SetText(s.*t.text);
        (c_.*t.box)->SetValue(s.*t.setting ? 1 : 0);
    }
    // A rule's length is the strip's: the length fields keep their
    // defaults. With a fixed length the two fields follow each other.
    const GenerationSettings lengths = s.site_rules() ? GenerationSettings{} : s;
    c_.chkVarLen->SetValue(lengths.variable_length ? 1 : 0);
    c_.txtMaxLen->SetText(Ascii(std::to_string(lengths.max_length)));
    c_.txtMinLen->SetText(
        Ascii(std::to_string(lengths.variable_length ? lengths.min_length : lengths.max_length)));
    c_.txtNum->SetText(Ascii(std::to_string(s.count)));
}

GenerationSettings frmMain::WindowSettings() const {
    return env_.window_settings ? env_.window_settings() : GenerationSettings{};
}

GenerationSettings frmMain::Settings() {
    GenerationSettings s = WindowSettings();
    ReadChoices(s);
    // Passphrases take only the count, and site rules their own length; the
    // length fields stand aside.
    if (s.from_pool()) {
        s.min_length = ToInt16(LeadingValue(c_.txtMinLen->GetText()));
        s.max_length = ToInt16(LeadingValue(c_.txtMaxLen->GetText()));
    }
    s.count = ToInt32(LeadingValue(c_.txtNum->GetText()));
    return s;
}

frmMain::SettingsAsEntered frmMain::ReadEntries() {
    GenerationSettings s = WindowSettings();
    ReadChoices(s);
    if (!s.from_pool()) return {s, {}};
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
