#pragma once
// The Profiles menu: the built-in profiles and the user's, each setting the
// window's options when chosen; saving the window's options as a profile,
// deleting one, and which profile the window starts with.
#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "engine/generation_settings.h"
#include "options/profile_file.h"
#include "options/site_tables.h"
#include "platform/contracts/message_box.h"

namespace morvane {

// A profile as the window takes it: its settings, and the site it names
// (a domain or URL), whose rule the window looks up itself.
struct ProfileChoice {
    std::string name;
    GenerationSettings settings;
    std::string site;
};

class ProfilesMenu : public QMenu {
    Q_OBJECT
public:
    // The window's options as they would be generated, or none with why.
    using WindowOptions = std::function<std::optional<GenerationSettings>(std::string& why)>;
    // `sites` tell what a site's profile makes and its strength.
    ProfilesMenu(QWidget* parent, MessageBoxService& box, SiteTables sites, WindowOptions window_options);

    // Reads the profiles file and lists its profiles; a file that does not
    // read well is said in a message, once, and only the built-in ones are
    // listed.
    void Load();
    // The same at the window's start: a problem is kept to be said, by
    // SayProblem, once the window shows.
    void LoadAtStart();
    void SayProblem();
    // Chooses the profile the file names to start with, if any.
    void ChooseWindowStart();
    void Choose(const std::string& name);

    // Whether the window's options are still those of the profile in use;
    // any change ends its use.
    void OptionsChanged();

    QAction *mnuSaveProfile, *mnuDeleteProfile, *mnuStartWithProfile, *mnuStartWithDefaults;
    const std::string& chosen() const { return chosen_; }

signals:
    void Chosen(const ProfileChoice& choice);
    void Saved(const QString& name);
    void InUse(const QString& name);  // the profile whose options the window holds, or "" for none

private:
    void List();
    void SaveOptions();
    void DeleteOne();
    void StartWith(const std::string& name);
    void NowInUse(const std::string& name, const std::optional<GenerationSettings>& settings);
    void ShowWhatApplies();
    void Say(const std::string& text);
    // An entry's tip: what it makes, and its strength once worked out, which
    // happens away from the window's thread and is kept for the next time.
    std::string TipOf(const ProfileOptions& options, const char* purpose);
    static QString StatusTipOf(const QString& tip);
    void StrengthFound(const std::string& key, const std::string& strength);

    MessageBoxService& box_;
    WindowOptions window_options_;
    std::optional<ProfileFile> own_;  // none: the file did not read well
    SiteTables sites_;
    QActionGroup* entries_;
    QAction* own_start_;  // where the user's own profiles begin
    std::string chosen_;  // the profile in use
    std::string chosen_options_;  // the window's options as it took them, as a key
    std::string problem_said_;  // why the file was last not read
    std::string problem_to_say_;
    bool loading_at_start_ = false;
    std::map<std::string, std::string> strengths_;  // by the options' text; empty while being worked out
};

}  // namespace morvane
