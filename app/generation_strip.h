#pragma once
// The strip under the window's client area: passwords or passphrases, the
// passphrase options, and the rule of one of each chosen type.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QWidget>

#include "engine/generation_settings.h"

namespace morvane {

class GenerationStrip : public QWidget {
    Q_OBJECT
public:
    explicit GenerationStrip(QWidget* parent);
    // Settings of their defaults but for what the strip sets: the mode, the
    // passphrase options and the word list.
    GenerationSettings Settings() const;

    QRadioButton *optPasswords, *optPassphrases;
    QSpinBox* spnWords;
    QLineEdit* txtSeparator;
    QComboBox* cboCase;
    QSpinBox* spnDigits;
    QPushButton* cmdWordList;     // chooses a list of the user's
    QLabel* lblWordList;          // the list in use
    QToolButton* cmdBuiltInList;  // back to the built-in list, while another is in use
    QCheckBox* chkEachType;

signals:
    void Changed();  // any choice of the strip

private:
    void ChooseWordList();
    void UseWordList(const QString& file);
    QString WordListName() const;  // of the list in use, whole
    void ShowWhatApplies();
    void NameWordListButton();
    QString word_list_file_;  // empty: the built-in list
};

}  // namespace morvane
