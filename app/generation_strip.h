#pragma once
// The strip under the window's client area: passwords, pronounceable
// passwords, passphrases or passwords by a site's rules; the passphrase
// options, the groups of a pronounceable password, the rule of one of each
// chosen type, and the site with its rule and length.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QWidget>

#include <string>
#include <utility>

#include "engine/generation_settings.h"
#include "options/site_tables.h"

class QVBoxLayout;

namespace morvane {

class GenerationStrip : public QWidget {
    Q_OBJECT
public:
    explicit GenerationStrip(QWidget* parent);
    // Settings of their defaults but for what the strip sets: the mode, the
    // passphrase options and the word list.
    GenerationSettings Settings() const;
    // Sets the strip's choices as a user would: the mode, the passphrase
    // options and list, and the site (a domain or URL) or else the rule,
    // with the length when the settings give one.
    void Take(const GenerationSettings& settings, const QString& site);
    // The sites' tables the strip looks sites up in.
    const SiteTables& sites() const { return sites_; }

    QRadioButton *optPasswords, *optPassphrases, *optSiteRules, *optPronounceable;
    QSpinBox* spnGroups;  // of six letters in a pronounceable password
    QSpinBox* spnWords;
    QLineEdit* txtSeparator;
    QComboBox* cboCase;
    QSpinBox* spnDigits;
    QPushButton* cmdWordList;     // chooses a list of the user's
    QLabel* lblWordList;          // the list in use
    QToolButton* cmdBuiltInList;  // back to the built-in list, while another is in use
    QCheckBox* chkEachType;
    QLineEdit* txtSite;       // a domain or URL, completed from the known sites
    QLineEdit* txtRule;       // the site's rule, or one of the user's
    QSpinBox* spnRuleLength;  // within the rule's range
    QLabel* lblRuleProblem;   // what is wrong with the rule, said under it
    QLabel* lblChangePage = nullptr;  // a link to the page where the site's password is changed

    // Why the user's table of sites was not read, or nothing.
    const QString& SiteTableProblem() const { return site_problem_; }

signals:
    void Changed();  // any choice of the strip

private:
    void BuildSiteRow(QVBoxLayout* rows);
    void TakeSite(const QString& text);
    void CheckRule();
    void ShowChangePage();
    void ChooseWordList();
    void UseWordList(const QString& file);
    QString WordListName() const;  // of the list in use, whole
    void ShowWhatApplies();
    void NameWordListButton();
    QString word_list_file_;  // empty: the built-in list
    SiteTables sites_;
    // The site whose rule was put in the field, as its table names it.
    std::pair<std::string, SiteRule> site_;
    SiteFound found_;  // what the tables know of the site typed
    QString site_problem_;    // why the user's table was not read
};

}  // namespace morvane
