#include "options/profile_settings.h"

#include "engine/rule_choice.h"

namespace morvane {
namespace {

void Join(std::string& list, std::string_view item, std::string_view between = ", ") {
    if (!list.empty()) list += between;
    list += item;
}

std::string LengthsInWords(const GenerationSettings& s, std::string_view unit) {
    if (s.shortest() == s.max_length) return std::to_string(s.max_length) + std::string(unit);
    return std::to_string(s.min_length) + " to " + std::to_string(s.max_length) + std::string(unit);
}

const char* CaseName(WordCase word_case) {
    switch (word_case) {
        case WordCase::kLower: return "lower";
        case WordCase::kTitle: return "title";
        case WordCase::kUpper: return "upper";
        case WordCase::kRandom: return "random";
    }
    return "lower";
}

}  // namespace

std::string TakeSiteRule(CliOptions& options, const SiteTables& tables, std::string& note) {
    note.clear();
    if (options.site.empty()) return {};
    const SiteFound found = FindSite(options.site, tables);
    if (!found.refusal.empty()) return "--site " + options.site + ": " + found.refusal;
    if (found.rule.empty()) {
        // The strong default, shaped by the kinds of characters chosen.
        if (options.settings.passphrases())
            return "--site " + options.site + ": --passphrase does not apply: a site's passwords are made by a rule";
        const GenerationSettings& s = options.settings;
        const bool every_kind = s.upper && s.lower && s.numbers && s.special && !s.other_in;
        note = "no password rule is known for " + HostOf(options.site) + ": " +
               std::to_string(s.length_given ? s.max_length : kDefaultRuleLength) +
               (s.length_given && s.shortest() != s.max_length ? " characters at most" : " characters") +
               (every_kind ? " of every kind" : " of the kinds chosen");
        options.settings.rules = DefaultSiteRule(s, s.each_type());
        options.settings.mode = GenerationMode::kSiteRules;
        options.settings.site.clear();
        options.settings.unknown_site = HostOf(options.site);
        if (!s.length_given) options.settings.min_length = options.settings.max_length = kDefaultRuleLength;
        return {};
    }
    if (!options.decided_by_a_rule.empty())
        return "--site " + options.site + ": " + options.decided_by_a_rule + " does not apply: " + found.site +
               "'s rule decides which characters a password holds";
    options.settings.mode = GenerationMode::kSiteRules;
    options.settings.rules = found.rule;
    options.settings.site = found.site;
    note = found.note;
    return {};
}

std::string SettingsOfProfile(const ProfileOptions& profile, const SiteTables& tables, GenerationSettings& settings) {
    CliOptions options;
    if (std::string problem = ParseProfileOptions(profile, options); !problem.empty()) return problem;
    std::string note;
    if (std::string problem = TakeSiteRule(options, tables, note); !problem.empty()) return problem;
    settings = options.settings;
    return {};
}

std::string DescribeMaking(const GenerationSettings& s) {
    std::string what;
    if (s.passphrases()) {
        what = "passphrases of " + std::to_string(s.passphrase.words) + (s.passphrase.words == 1 ? " word" : " words");
        if (s.passphrase.digits > 0)
            what += " and " + std::to_string(s.passphrase.digits) + (s.passphrase.digits == 1 ? " digit" : " digits");
        if (s.passphrase.word_case != WordCase::kLower) what += std::string(", ") + CaseName(s.passphrase.word_case) + " case";
        if (!s.passphrase.separators.empty())
            what += ", one of \"" + ToUtf8(s.passphrase.separators) + "\" between each";
        else if (s.passphrase.separator != PassphraseOptions{}.separator)
            what += ", \"" + ToUtf8(s.passphrase.separator) + "\" between";
        if (s.passphrase.min_word_length > 0 || s.passphrase.max_word_length > 0)
            what += ", words of " + WordLengthsInWords(s.passphrase);
        if (!s.word_list_file.empty()) what += ", words of " + s.word_list_file;
    } else {
        if (s.pronounceable()) {
            what = "pronounceable passwords of " + std::to_string(s.groups) + (s.groups == 1 ? " group" : " groups");
        } else if (s.site_rules() && s.unknown_site.empty()) {
            what = s.site.empty() ? "passwords by the rule \"" + s.rules + "\"" : "passwords by " + s.site + "'s rule";
            if (s.length_given) what += ", " + LengthsInWords(s, " long");
        } else {
            std::string classes;
            if (s.upper) Join(classes, "upper");
            if (s.lower) Join(classes, "lower");
            if (s.numbers) Join(classes, "digits");
            if (s.special) Join(classes, "special");
            if (s.other_in && !s.other_in_text.empty()) Join(classes, "\"" + ToUtf8(s.other_in_text) + "\"");
            what = "passwords of " + LengthsInWords(s, " characters") + ": " + classes;
            if (s.each_type()) what += "; one of each type";
            if (!s.unknown_site.empty()) what += "; no rule is known for " + s.unknown_site;
        }
        if (s.spaces && !s.pronounceable()) what += "; blanks let in";  // the syllables take no blank
        if (s.look_alikes_out) what += "; no look-alikes";
        if (s.other_out && !s.other_out_text.empty()) what += "; without \"" + ToUtf8(s.other_out_text) + "\"";
    }
    if (s.unique) what += "; none twice";
    if (s.count != GenerationSettings{}.count) what += "; " + std::to_string(s.count) + " a run";
    return what;
}

ProfileOptions KeptOptionsOf(const GenerationSettings& s) {
    ProfileOptions kept;
    for (const OptionEntry& entry : OptionCatalogue())
        if (std::optional<std::string> value = entry.read ? entry.read(s) : std::nullopt)
            kept.push_back({entry.long_name, std::move(*value)});
    return kept;
}

}  // namespace morvane
