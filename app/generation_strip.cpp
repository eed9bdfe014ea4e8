#include "app/generation_strip.h"

#include <QButtonGroup>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/qt/qt_text.h"

namespace morvane {
namespace {

const QString kBuiltInList = QStringLiteral("EFF words");  // the list in use when none is chosen

}  // namespace

GenerationStrip::GenerationStrip(QWidget* parent) : QWidget(parent) {
    setObjectName("generationStrip");
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(8, 2, 8, 2);
    rows->setSpacing(2);
    optPasswords = new QRadioButton("Pass&words", this);
    optPassphrases = new QRadioButton("Passph&rases", this);
    optPasswords->setChecked(true);
    auto* modes = new QButtonGroup(this);
    modes->addButton(optPasswords);
    modes->addButton(optPassphrases);
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

    auto label = [this](const char* text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    // Two rows within the client area's width: passwords with their rule,
    // passphrases with their options.
    auto* passwords = new QHBoxLayout;
    passwords->addWidget(optPasswords);
    passwords->addWidget(chkEachType);
    passwords->addStretch(1);
    auto* passphrases = new QHBoxLayout;
    passphrases->addWidget(optPassphrases);
    passphrases->addWidget(label("Wor&ds:", spnWords));
    passphrases->addWidget(spnWords);
    passphrases->addWidget(label("Separa&tor:", txtSeparator));
    passphrases->addWidget(txtSeparator);
    passphrases->addWidget(label("&Case:", cboCase));
    passphrases->addWidget(cboCase);
    passphrases->addWidget(label("D&igits:", spnDigits));
    passphrases->addWidget(spnDigits);
    passphrases->addWidget(cmdWordList);
    passphrases->addWidget(lblWordList);
    passphrases->addWidget(cmdBuiltInList);
    passphrases->addStretch(1);
    rows->addLayout(passwords);
    rows->addLayout(passphrases);

    NameWordListButton();
    connect(optPassphrases, &QRadioButton::toggled, this, [this] {
        ShowWhatApplies();
        emit Changed();
    });
    connect(chkEachType, &QCheckBox::toggled, this, &GenerationStrip::Changed);
    connect(spnWords, &QSpinBox::valueChanged, this, &GenerationStrip::Changed);
    connect(spnDigits, &QSpinBox::valueChanged, this, &GenerationStrip::Changed);
    connect(txtSeparator, &QLineEdit::textChanged, this, &GenerationStrip::Changed);
    connect(cboCase, &QComboBox::currentIndexChanged, this, &GenerationStrip::Changed);
    connect(cmdWordList, &QPushButton::clicked, this, &GenerationStrip::ChooseWordList);
    connect(cmdBuiltInList, &QToolButton::clicked, this, [this] { UseWordList({}); });
    ShowWhatApplies();
}

void GenerationStrip::ShowWhatApplies() {
    const bool phrases = optPassphrases->isChecked();
    chkEachType->setEnabled(!phrases);
    for (QWidget* w : std::initializer_list<QWidget*>{spnWords, txtSeparator, cboCase, spnDigits, cmdWordList,
                                                      lblWordList, cmdBuiltInList})
        w->setEnabled(phrases);
    cmdBuiltInList->setVisible(!word_list_file_.isEmpty());
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

GenerationSettings GenerationStrip::Settings() const {
    GenerationSettings choice;
    choice.mode = optPassphrases->isChecked() ? GenerationMode::kPassphrase
                  : chkEachType->isChecked()  ? GenerationMode::kEachType
                                              : GenerationMode::kCharacters;
    choice.passphrase.words = spnWords->value();
    choice.passphrase.separator = FromQt(txtSeparator->text());
    choice.passphrase.word_case = static_cast<WordCase>(cboCase->currentIndex());
    choice.passphrase.digits = spnDigits->value();
    choice.word_list_file = word_list_file_.toStdString();
    return choice;
}

}  // namespace morvane
