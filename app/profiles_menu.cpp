#include "app/profiles_menu.h"

#include <QApplication>
#include <QInputDialog>
#include <QPointer>
#include <QThreadPool>

#include <utility>

#include "options/built_in_profiles.h"
#include "options/profile_settings.h"
#include "options/profile_store.h"
#include "options/strength_line.h"

namespace morvane {
namespace {

constexpr char kTitle[] = "Profiles";

constexpr char kStrengthPending[] = "Its strength is being worked out.";

// The options as one text, to know a profile's strength again by.
std::string KeyOf(const ProfileOptions& options) {
    std::string key;
    for (const ProfileOption& option : options) key += option.name + '=' + option.Shown() + '\n';
    return key;
}

QAction* Command(QMenu* menu, const char* name, const char* caption) {
    auto* action = new QAction(caption, menu);
    action->setObjectName(name);
    menu->addAction(action);
    return action;
}

}  // namespace

ProfilesMenu::ProfilesMenu(QWidget* parent, MessageBoxService& box, SiteTables sites, WindowOptions window_options)
    : QMenu("Prof&iles", parent), box_(box), window_options_(std::move(window_options)), sites_(std::move(sites)) {
    setObjectName("mnuProfiles");
    setToolTipsVisible(true);
    entries_ = new QActionGroup(this);
    entries_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    own_start_ = addSeparator();
    own_start_->setObjectName("mnuOwnProfiles");
    addSeparator();
    mnuSaveProfile = Command(this, "mnuSaveProfile", "&Save Options as Profile...");
    mnuDeleteProfile = Command(this, "mnuDeleteProfile", "&Delete Profile...");
    addSeparator();
    mnuStartWithProfile = Command(this, "mnuStartWithProfile", "Start with &This Profile");
    mnuStartWithDefaults = Command(this, "mnuStartWithDefaults", "Start with the De&faults");
    connect(mnuSaveProfile, &QAction::triggered, this, &ProfilesMenu::SaveOptions);
    connect(mnuDeleteProfile, &QAction::triggered, this, &ProfilesMenu::DeleteOne);
    connect(mnuStartWithProfile, &QAction::triggered, this, [this] { StartWith(chosen_); });
    connect(mnuStartWithDefaults, &QAction::triggered, this, [this] { StartWith({}); });
    // What morvane-cli or an editor changed meanwhile shows when the menu opens.
    connect(this, &QMenu::aboutToShow, this, &ProfilesMenu::Load);
    List();
}

void ProfilesMenu::Say(const std::string& text) { box_.Show(text, kOkOnly, kTitle); }

std::string ProfilesMenu::TipOf(const ProfileOptions& options, const char* purpose) {
    GenerationSettings settings;
    if (std::string problem = SettingsOfProfile(options, sites_, settings); !problem.empty()) return problem;
    const std::string what = purpose ? std::string(purpose) : DescribeMaking(settings);
    const std::string key = KeyOf(options);
    auto [known, added] = strengths_.try_emplace(key);
    if (added) {
        // A rule's strength can take a while to count: it never holds up
        // the window's start or the menu's opening.
        QPointer<ProfilesMenu> menu(this);
        QThreadPool::globalInstance()->start([menu, key, settings] {
            const std::string strength = DescribeStrength(settings).text;
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [menu, key, strength] { if (menu) menu->StrengthFound(key, strength); }, Qt::QueuedConnection);
        });
    }
    return what + "\n" + (known->second.empty() ? std::string(kStrengthPending) : known->second);
}

// The status bar draws one line of the window's width: it takes the
// strength alone, and the tip beside the entry says what the profile makes.
QString ProfilesMenu::StatusTipOf(const QString& tip) { return tip.section('\n', -1); }

void ProfilesMenu::StrengthFound(const std::string& key, const std::string& strength) {
    strengths_[key] = strength;
    for (QAction* entry : entries_->actions()) {
        if (entry->property("profileKey").toString().toStdString() != key) continue;
        QString tip = entry->toolTip();
        tip.replace(kStrengthPending, QString::fromStdString(strength));
        entry->setToolTip(tip);
        entry->setStatusTip(StatusTipOf(tip));
    }
}

void ProfilesMenu::Load() {
    ProfileProblem problem;
    own_ = LoadProfiles(problem);
    const std::string said = own_ ? std::string() : problem.Text();
    const bool new_problem = !said.empty() && said != problem_said_;
    problem_said_ = said;
    List();
    if (new_problem) problem_to_say_ = said + "\r\nOnly the built-in profiles are listed until the file is mended.";
    if (!loading_at_start_) SayProblem();
}

void ProfilesMenu::LoadAtStart() {
    loading_at_start_ = true;
    Load();
    loading_at_start_ = false;
}

void ProfilesMenu::SayProblem() {
    if (problem_to_say_.empty()) return;
    Say(std::exchange(problem_to_say_, {}));
}

void ProfilesMenu::List() {
    for (QAction* entry : entries_->actions()) delete entry;
    const auto add = [&](const std::string& name, const QString& caption, const ProfileOptions& options,
                         const char* purpose, QAction* before) {
        const std::string tip = TipOf(options, purpose);
        auto* entry = new QAction(caption, entries_);
        entry->setProperty("profileKey", QString::fromStdString(KeyOf(options)));
        entry->setObjectName(QString::fromStdString("mnuProfile_" + name));
        entry->setCheckable(true);
        entry->setChecked(name == chosen_);
        entry->setToolTip(QString::fromStdString(tip));
        entry->setStatusTip(StatusTipOf(QString::fromStdString(tip)));
        insertAction(before, entry);
        connect(entry, &QAction::triggered, this, [this, name] { Choose(name); });
    };
    for (const BuiltInProfile& profile : BuiltInProfiles())
        add(profile.name, QString::fromUtf8(profile.name) + " (built-in)", profile.options, profile.purpose, own_start_);
    const QList<QAction*> all = actions();
    QAction* after_own = all.at(all.indexOf(own_start_) + 1);  // the separator before the commands
    if (own_)
        for (const Profile& profile : own_->profiles)
            add(profile.name, QString::fromStdString(profile.name), profile.options, nullptr, after_own);
    own_start_->setVisible(own_ && !own_->profiles.empty());
    ShowWhatApplies();
}

void ProfilesMenu::ShowWhatApplies() {
    const std::string start = own_ ? own_->window_start : std::string();
    mnuStartWithProfile->setEnabled(own_ && !chosen_.empty() && chosen_ != start);
    mnuStartWithProfile->setStatusTip(chosen_.empty() ? QString("Choose a profile first")
                                                      : QString::fromStdString("The window starts with " + chosen_));
    mnuStartWithDefaults->setEnabled(!start.empty());
    mnuStartWithDefaults->setStatusTip(start.empty() ? QString("The window starts with the defaults")
                                                     : QString::fromStdString("Now it starts with " + start));
}

void ProfilesMenu::ChooseWindowStart() {
    if (own_ && !own_->window_start.empty()) Choose(own_->window_start);
}

void ProfilesMenu::Choose(const std::string& name) {
    std::string problem;
    const std::optional<ProfileOptions> profile = FindProfileIn(own_ ? *own_ : ProfileFile{})(name, problem);
    if (!profile) return Say(problem);
    CliOptions options;
    if (std::string why = ParseProfileOptions(*profile, options); !why.empty()) return Say("Profile " + name + ": " + why);
    ProfileChoice choice{name, options.settings, options.site};
    if (!choice.site.empty()) choice.settings.mode = GenerationMode::kSiteRules;
    emit Chosen(choice);
    std::string why;
    NowInUse(name, window_options_(why));
}

void ProfilesMenu::NowInUse(const std::string& name, const std::optional<GenerationSettings>& settings) {
    chosen_ = settings ? name : std::string();
    chosen_options_ = settings ? KeyOf(KeptOptionsOf(*settings)) : std::string();
    for (QAction* entry : entries_->actions())
        entry->setChecked(!chosen_.empty() && entry->objectName() == QString::fromStdString("mnuProfile_" + chosen_));
    ShowWhatApplies();
    emit InUse(QString::fromStdString(chosen_));
}

void ProfilesMenu::OptionsChanged() {
    if (chosen_.empty()) return;
    std::string why;
    const std::optional<GenerationSettings> now = window_options_(why);
    if (!now || KeyOf(KeptOptionsOf(*now)) != chosen_options_) NowInUse({}, std::nullopt);
}

void ProfilesMenu::SaveOptions() {
    std::string why;
    const std::optional<GenerationSettings> settings = window_options_(why);
    if (!settings) return Say("The options cannot be saved as a profile: " + why);
    // The dialog offers the user's own profile in use, never a built-in's
    // name, and stays open with the reason while a name is refused.
    const bool own_in_use = own_ && own_->Find(chosen_);
    QString typed = own_in_use ? QString::fromStdString(chosen_) : QString();
    std::string name, refused;
    while (true) {
        bool given = false;
        const QString label = "Profile name (letters, digits, - and _):" +
                              (refused.empty() ? QString() : "\n" + QString::fromStdString(refused));
        typed = QInputDialog::getText(parentWidget(), "Save Options as Profile", label, QLineEdit::Normal, typed, &given);
        if (!given) return;
        name = typed.trimmed().toStdString();
        refused = ProfileNameProblem(name);
        if (refused.empty()) break;
    }
    if (own_ && own_->Find(name) &&
        box_.Show("Replace the profile " + name + " with the window's options?", kYesNo, kTitle) != kResultYes)
        return;
    if (std::string problem = SaveProfile(name, KeptOptionsOf(*settings)); !problem.empty()) return Say(problem);
    Load();
    NowInUse(name, settings);
    emit Saved(QString::fromStdString(name));
}

void ProfilesMenu::DeleteOne() {
    QStringList names;
    if (own_)
        for (const Profile& profile : own_->profiles) names << QString::fromStdString(profile.name);
    if (names.isEmpty()) return Say("There is no profile of your own to delete: the built-in ones stay.");
    bool given = false;
    const QString name = QInputDialog::getItem(parentWidget(), "Delete Profile", "Profile to delete:", names,
                                               std::max<qsizetype>(0, names.indexOf(QString::fromStdString(chosen_))),
                                               false, &given);
    if (!given) return;
    if (std::string problem = DeleteProfile(name.toStdString()); !problem.empty()) return Say(problem);
    if (chosen_ == name.toStdString()) NowInUse({}, std::nullopt);
    Load();
}

void ProfilesMenu::StartWith(const std::string& name) {
    if (std::string problem = SetWindowStart(name); !problem.empty()) return Say(problem);
    Load();
}

}  // namespace morvane
