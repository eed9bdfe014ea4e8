#include "app/generation_strip.h"

#include <QDesktopServices>
#include <QUrl>

#include <QButtonGroup>
#include <QCompleter>
#include <QSignalBlocker>

#include <algorithm>

#include "engine/rule_choice.h"
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/qt/qt_text.h"

namespace morvane {
namespace {

const QString kBuiltInList = QStringLiteral("EFF words");  // the list in use when none is chosen

// A label that names its field to a screen reader.
QLabel* BuddyLabel(QWidget* parent, const char* text, QWidget* buddy) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

GenerationStrip::GenerationStrip(QWidget* parent) : QWidget(parent) {
    setObjectName("generationStrip");
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(8, 2, 8, 2);
    rows->setSpacing(2);
    optPasswords = new QRadioButton("Pass&words", this);
    optPassphrases = new QRadioButton("Passphrases", this);
    optPasswords->setChecked(true);
    auto* modes = new QButtonGroup(this);
    modes->addButton(optPasswords);
    modes->addButton(optPassphrases);
    optSiteRules = new QRadioButton("Site rules", this);
    optSiteRules->setToolTip("Passwords that keep a site's password rules");
    modes->addButton(optSiteRules);
    optPronounceable = new QRadioButton("Pronounceable", this);
    optPronounceable->setToolTip("Syllables a person can say, six letters a group, one letter upper case and one a digit");
    modes->addButton(optPronounceable);
    spnGroups = new QSpinBox(this);
    spnGroups->setObjectName("spnGroups");
    spnGroups->setRange(kFewestGroups, kMostGroups);
    spnGroups->setValue(kDefaultGroups);
    spnGroups->setToolTip("Groups of six letters, joined by hyphens");
    chkEachType = new QCheckBox("One of each t&ype", this);
    chkEachType->setToolTip("Every password holds at least one character of each chosen type");
    spnWords = new QSpinBox(this);
    spnWords->setRange(kFewestPassphraseWords, kMostPassphraseWords);
    spnWords->setValue(PassphraseOptions{}.words);
    spnWords->setToolTip("Words in a passphrase");
    txtSeparator = new QLineEdit(ToQt(PassphraseOptions{}.separator), this);
    txtSeparator->setToolTip("What stands between the words");
    txtSeparator->setMaximumWidth(fontMetrics().horizontalAdvance("MMMM") + 12);
    cboCase = new QComboBox(this);
    cboCase->addItems({"lower", "Title", "UPPER", "rAnDoM"});
    cboCase->setToolTip("The case of the words; rAnDoM picks one of the three for each word");
    spnDigits = new QSpinBox(this);
    spnDigits->setRange(0, kMostPassphraseDigits);
    spnDigits->setToolTip("Random digits standing between the words");
    cmdWordList = new QPushButton("Word list...", this);
    cmdWordList->setToolTip("Choose a word list of your own: a file of words, one a line");
    lblWordList = new QLabel(kBuiltInList, this);
    lblWordList->setObjectName("lblWordList");
    lblWordList->setToolTip("The word list in use: the EFF Large Wordlist");
    // A long file name is shortened in its middle: the strip keeps within
    // the window's width.
    lblWordList->setFixedWidth(fontMetrics().horizontalAdvance(kBuiltInList) + 8);
    cmdBuiltInList = new QToolButton(this);
    cmdBuiltInList->setText("EFF");
    cmdBuiltInList->setToolTip("Draw from the EFF Large Wordlist again");

    const auto label = [this](const char* text, QWidget* buddy) { return BuddyLabel(this, text, buddy); };
    // Two rows within the client area's width: passwords with their rule,
    // passphrases with their options.
    auto* passwords = new QHBoxLayout;
    passwords->addWidget(optPasswords);
    passwords->addWidget(chkEachType);
    passwords->addSpacing(16);
    passwords->addWidget(optPronounceable);
    passwords->addWidget(label("Groups:", spnGroups));
    passwords->addWidget(spnGroups);
    passwords->addStretch(1);
    auto* passphrases = new QHBoxLayout;
    passphrases->addWidget(optPassphrases);
    passphrases->addWidget(label("Words:", spnWords));
    passphrases->addWidget(spnWords);
    passphrases->addWidget(label("Separator:", txtSeparator));
    passphrases->addWidget(txtSeparator);
    passphrases->addWidget(label("Case:", cboCase));
    passphrases->addWidget(cboCase);
    passphrases->addWidget(label("Digits:", spnDigits));
    passphrases->addWidget(spnDigits);
    passphrases->addWidget(cmdWordList);
    passphrases->addWidget(lblWordList);
    passphrases->addWidget(cmdBuiltInList);
    passphrases->addStretch(1);
    rows->addLayout(passwords);
    rows->addLayout(passphrases);
    BuildSiteRow(rows);

    NameWordListButton();
    connect(optPassphrases, &QRadioButton::toggled, this, [this] {
        ShowWhatApplies();
        emit Changed();
    });
    connect(optSiteRules, &QRadioButton::toggled, this, [this] {
        ShowWhatApplies();
        CheckRule();
        emit Changed();
    });
    connect(optPronounceable, &QRadioButton::toggled, this, [this] {
        ShowWhatApplies();
        emit Changed();
    });
    connect(spnGroups, &QSpinBox::valueChanged, this, &GenerationStrip::Changed);
    connect(chkEachType, &QCheckBox::toggled, this, &GenerationStrip::Changed);
    connect(spnWords, &QSpinBox::valueChanged, this, &GenerationStrip::Changed);
    connect(spnDigits, &QSpinBox::valueChanged, this, &GenerationStrip::Changed);
    connect(txtSeparator, &QLineEdit::textChanged, this, &GenerationStrip::Changed);
    connect(cboCase, &QComboBox::currentIndexChanged, this, &GenerationStrip::Changed);
    connect(cmdWordList, &QPushButton::clicked, this, &GenerationStrip::ChooseWordList);
    connect(cmdBuiltInList, &QToolButton::clicked, this, [this] { UseWordList({}); });
    ShowWhatApplies();
}

// The site, its rule and the length, with what is wrong under them.
void GenerationStrip::BuildSiteRow(QVBoxLayout* rows) {
    std::string problem;
    sites_ = LoadSiteTables(problem);
    // A broken table of the user's is left out, and why is said under the rule.
    site_problem_ = QString::fromStdString(problem);
    QStringList known;
    for (const std::string& site : KnownSites(sites_)) known << QString::fromStdString(site);
    txtSite = new QLineEdit(this);
    txtSite->setObjectName("txtSite");
    txtSite->setPlaceholderText("example.com");
    txtSite->setToolTip("The site, by its domain or a whole address; its known rule fills the rule field");
    txtSite->setFixedWidth(fontMetrics().horizontalAdvance("accounts.example.com") + 12);
    auto* completer = new QCompleter(known, txtSite);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    txtSite->setCompleter(completer);
    txtRule = new QLineEdit(this);
    txtRule->setObjectName("txtRule");
    txtRule->setPlaceholderText("minlength: 12; required: digit; allowed: lower, upper");
    txtRule->setToolTip("The rule in the Password Rules language: minlength, maxlength, required, allowed, "
                        "max-consecutive, max-repeating, max-sequential");
    spnRuleLength = new QSpinBox(this);
    spnRuleLength->setObjectName("spnRuleLength");
    spnRuleLength->setRange(kShortestLength, kLongestLength);
    spnRuleLength->setValue(kDefaultRuleLength);
    spnRuleLength->setToolTip("Characters in each password, within the rule's range");
    lblRuleProblem = new QLabel(this);
    lblRuleProblem->setObjectName("lblRuleProblem");
    lblRuleProblem->setAccessibleName("Rule check");
    // One line kept for it, so that the window keeps its height.
    lblRuleProblem->setFixedHeight(fontMetrics().height() + 2);
    QPalette warning = lblRuleProblem->palette();
    warning.setColor(QPalette::WindowText, QColor(0xB0, 0x00, 0x20));
    lblRuleProblem->setPalette(warning);
    const auto label = [this](const char* text, QWidget* buddy) { return BuddyLabel(this, text, buddy); };
    auto* row = new QHBoxLayout;
    row->addWidget(optSiteRules);
    row->addWidget(label("Domain:", txtSite));
    row->addWidget(txtSite);
    row->addWidget(label("Rule:", txtRule));
    row->addWidget(txtRule, 1);
    row->addWidget(label("Length:", spnRuleLength));
    row->addWidget(spnRuleLength);
    rows->addLayout(row);
    lblChangePage = new QLabel(this);
    lblChangePage->setObjectName("lblChangePage");
    lblChangePage->setTextFormat(Qt::RichText);
    lblChangePage->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    lblChangePage->setFixedHeight(lblRuleProblem->height());
    connect(lblChangePage, &QLabel::linkActivated, this, [this](const QString& page) {
        if (!QDesktopServices::openUrl(QUrl(page)))
            lblChangePage->setToolTip("No browser could be started to open " + page);
    });
    auto* checks = new QHBoxLayout;
    checks->addWidget(lblRuleProblem, 1);
    checks->addWidget(lblChangePage);
    rows->addLayout(checks);

    connect(txtSite, &QLineEdit::textEdited, this, &GenerationStrip::TakeSite);
    connect(completer, qOverload<const QString&>(&QCompleter::activated), this, &GenerationStrip::TakeSite);
    connect(txtRule, &QLineEdit::textChanged, this, [this] {
        CheckRule();
        emit Changed();
    });
    connect(spnRuleLength, &QSpinBox::valueChanged, this, [this] {
        CheckRule();
        emit Changed();
    });
    CheckRule();
}

// A known site puts its rule in the rule field, at the default length
// brought into the rule's range. Any other takes out the rule of the site
// before it, which is not its rule: passwords then are the strong default
// until a rule is typed.
void GenerationStrip::TakeSite(const QString& text) {
    found_ = FindSite(text.toStdString(), sites_);
    const bool found = !found_.rule.empty() && found_.refusal.empty();
    const bool field_was_a_sites = !site_.first.empty() && txtRule->text().toStdString() == site_.second.rule;
    site_ = found ? std::pair{found_.site, SiteRule{found_.rule}} : std::pair<std::string, SiteRule>{};
    ShowChangePage();
    if (found) {
        txtRule->setText(QString::fromStdString(found_.rule));
    } else if (field_was_a_sites) {
        const QSignalBlocker quiet(spnRuleLength);
        spnRuleLength->setRange(kShortestLength, kLongestLength);
        txtRule->clear();
    }
    if (found || field_was_a_sites)
        spnRuleLength->setValue(std::clamp(kDefaultRuleLength, spnRuleLength->minimum(), spnRuleLength->maximum()));
    CheckRule();
    emit Changed();
}

// The rule as it is typed: the reader's refusal with its place, or a rule
// no password keeps, said under it; the length keeps within its range.
void GenerationStrip::CheckRule() {
    GenerationSettings rule = Settings();
    rule.rules = txtRule->text().toStdString();
    rule.look_alikes_out = rule.other_out = false;
    rule.spaces = true;  // what the window's own options take out is the strength line's to say
    rule.length_given = false;
    QString problem;
    LengthRange range;
    const QString host = QString::fromStdString(HostOf(txtSite->text().toStdString()));
    if (!optSiteRules->isChecked()) {
        // What the strip says of sites and rules holds in Site rules alone.
    } else if (rule.rules.empty()) {
        const QSignalBlocker quiet(spnRuleLength);
        spnRuleLength->setRange(kShortestLength, kLongestLength);
        if (!found_.refusal.empty())
            problem = QString::fromStdString(found_.refusal);
        else if (!host.isEmpty())
            problem = "No rule is known for " + host + ": " + QString::number(spnRuleLength->value()) +
                      " characters of every kind";
    } else if (std::string wrong = RuleTextProblem(rule, &range); !wrong.empty()) {
        problem = QString::fromStdString(wrong);
        problem[0] = problem[0].toUpper();
    } else {
        const QSignalBlocker quiet(spnRuleLength);
        spnRuleLength->setRange(range.low, range.high);
        if (!range.notes.empty()) {
            problem = QString::fromStdString("Note: " + range.notes.front());
            for (size_t i = 1; i < range.notes.size(); ++i) problem += "; " + QString::fromStdString(range.notes[i]);
        } else if (!site_.first.empty() && site_.second.rule == rule.rules && !found_.note.empty()) {
            problem = QString::fromStdString(found_.note);
        } else if (!site_.first.empty() && site_.second.rule != rule.rules) {
            problem = "Your own rule: it is no longer " + QString::fromStdString(site_.first) + "'s";
        } else if (site_.first.empty() && !host.isEmpty()) {
            problem = "No rule is known for " + host + ": the rule typed here is used";
        }
    }
    if (problem.isEmpty() && optSiteRules->isChecked()) problem = site_problem_;
    lblRuleProblem->setText(fontMetrics().elidedText(problem, Qt::ElideMiddle, lblRuleProblem->width()));
    lblRuleProblem->setToolTip(problem);
    txtRule->setAccessibleDescription(problem);
}

// The page where the site's password is changed, one click away, and
// whether the site wants the one-time code after the password.
void GenerationStrip::ShowChangePage() {
    QString text;
    const QString host = QString::fromStdString(HostOf(txtSite->text().toStdString()));
    if (!found_.change_page.empty())
        text = "<a href=\"" + QString::fromStdString(found_.change_page).toHtmlEscaped() + "\">Change the password at " +
               host.toHtmlEscaped() + "</a>";
    if (found_.code_after_password) text += (text.isEmpty() ? "" : " &middot; ") + QString("It wants the one-time code after the password");
    lblChangePage->setText(text);
    lblChangePage->setToolTip(QString::fromStdString(found_.change_page));
    lblChangePage->setVisible(!text.isEmpty() && optSiteRules->isChecked());
}

void GenerationStrip::ShowWhatApplies() {
    const bool phrases = optPassphrases->isChecked();
    const bool rules = optSiteRules->isChecked();
    chkEachType->setEnabled(optPasswords->isChecked());
    spnGroups->setEnabled(optPronounceable->isChecked());
    for (QWidget* w : std::initializer_list<QWidget*>{txtSite, txtRule, spnRuleLength}) w->setEnabled(rules);
    for (QWidget* w : std::initializer_list<QWidget*>{spnWords, txtSeparator, cboCase, spnDigits, cmdWordList,
                                                      lblWordList, cmdBuiltInList})
        w->setEnabled(phrases);
    cmdBuiltInList->setVisible(!word_list_file_.isEmpty());
    if (lblChangePage) lblChangePage->setVisible(!lblChangePage->text().isEmpty() && rules);
}

// Cancel leaves the list in use as it is.
void GenerationStrip::ChooseWordList() {
    QFileDialog dialog(this, "Word List");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({"Word lists (*.txt *.wordlist)", "All Files (*)"});
    if (!word_list_file_.isEmpty()) dialog.selectFile(word_list_file_);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        UseWordList(dialog.selectedFiles().first());
}

QString GenerationStrip::WordListName() const {
    return word_list_file_.isEmpty() ? kBuiltInList : QFileInfo(word_list_file_).fileName();
}

// A file of the user's, or the built-in list when empty.
void GenerationStrip::UseWordList(const QString& file) {
    word_list_file_ = file;
    lblWordList->setText(fontMetrics().elidedText(WordListName(), Qt::ElideMiddle, lblWordList->width()));
    lblWordList->setToolTip(file.isEmpty() ? "The word list in use: the EFF Large Wordlist"
                                           : "The word list in use: " + file);
    NameWordListButton();
    ShowWhatApplies();
    emit Changed();
}

// Read as what they do, with the list in use.
void GenerationStrip::NameWordListButton() {
    cmdWordList->setAccessibleName("Word list...");
    cmdWordList->setAccessibleDescription("In use: " + WordListName());
    cmdBuiltInList->setAccessibleName("Use the EFF word list");
}

void GenerationStrip::Take(const GenerationSettings& settings, const QString& site) {
    (settings.passphrases()      ? optPassphrases
     : settings.site_rules()     ? optSiteRules
     : settings.pronounceable() ? optPronounceable
                                 : optPasswords)
        ->setChecked(true);
    spnGroups->setValue(settings.groups);
    chkEachType->setChecked(settings.each_type());
    spnWords->setValue(settings.passphrase.words);
    txtSeparator->setText(ToQt(settings.passphrase.separator));
    cboCase->setCurrentIndex(static_cast<int>(settings.passphrase.word_case));
    spnDigits->setValue(settings.passphrase.digits);
    UseWordList(QString::fromStdString(settings.word_list_file));
    txtSite->setText(site);
    site_ = {};
    found_ = {};
    ShowChangePage();
    txtRule->setText(QString::fromStdString(settings.rules));
    spnRuleLength->setValue(std::clamp(kDefaultRuleLength, spnRuleLength->minimum(), spnRuleLength->maximum()));
    if (!site.isEmpty()) TakeSite(site);
    CheckRule();
    if (settings.site_rules() && settings.length_given) spnRuleLength->setValue(settings.max_length);
}

GenerationSettings GenerationStrip::Settings() const {
    GenerationSettings choice;
    choice.mode = optPassphrases->isChecked()     ? GenerationMode::kPassphrase
                  : optSiteRules->isChecked()     ? GenerationMode::kSiteRules
                  : optPronounceable->isChecked() ? GenerationMode::kPronounceable
                  : chkEachType->isChecked()  ? GenerationMode::kEachType
                                              : GenerationMode::kCharacters;
    choice.rules = txtRule->text().toStdString();
    // The site's name stands in the strength line while its rule is unchanged.
    if (!site_.first.empty() && site_.second.rule == choice.rules) choice.site = site_.first;
    if (choice.site_rules()) {
        choice.length_given = true;
        choice.min_length = choice.max_length = spnRuleLength->value();
        choice.variable_length = false;
    }
    choice.groups = spnGroups->value();
    choice.passphrase.words = spnWords->value();
    choice.passphrase.separator = FromQt(txtSeparator->text());
    choice.passphrase.word_case = static_cast<WordCase>(cboCase->currentIndex());
    choice.passphrase.digits = spnDigits->value();
    choice.word_list_file = word_list_file_.toStdString();
    return choice;
}

}  // namespace morvane
