#include "edit/find_replace_dialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <cstring>

namespace morvane {
namespace {

QString FromBuffer(const char* buffer) {
    if (!buffer) return {};
    return QString::fromUtf8(buffer, static_cast<qsizetype>(strnlen(buffer, kFindBufferBytes - 1)));
}

// Writes `text` into a NUL-ended buffer of kFindBufferBytes, never splitting a character.
void ToBuffer(const QString& text, char* buffer) {
    if (!buffer) return;
    QByteArray bytes = text.toUtf8();
    int n = static_cast<int>(bytes.size());
    if (n > kFindBufferBytes - 1) {
        n = kFindBufferBytes - 1;
        while (n > 0 && (static_cast<unsigned char>(bytes[n]) & 0xC0) == 0x80) --n;
    }
    std::memset(buffer, 0, kFindBufferBytes);
    std::memcpy(buffer, bytes.constData(), static_cast<size_t>(n));
}

}  // namespace

FindReplaceDialog::FindReplaceDialog(QWidget* owner, FindReplaceRecord& record, bool replace)
    : QDialog(owner), record_(record) {
    setWindowTitle(replace ? "Replace" : "Find");
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* grid = new QGridLayout(this);
    auto* findLabel = new QLabel("Fi&nd what:");
    findWhat = new QLineEdit(FromBuffer(record.lpstrFindWhat));
    findWhat->setMaxLength(record.wFindWhatLen);
    findLabel->setBuddy(findWhat);
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(findWhat, 0, 1);
    int row = 1;
    if (replace) {
        auto* replaceLabel = new QLabel("Re&place with:");
        replaceWith = new QLineEdit(FromBuffer(record.lpstrReplaceWith));
        replaceWith->setMaxLength(record.wReplaceWithLen);
        replaceLabel->setBuddy(replaceWith);
        grid->addWidget(replaceLabel, 1, 0);
        grid->addWidget(replaceWith, 1, 1);
        row = 2;
    }
    wholeWord = new QCheckBox("Match &whole word only");
    matchCase = new QCheckBox("Match &case");
    wholeWord->setChecked(record.Flags & FR_WHOLEWORD);
    matchCase->setChecked(record.Flags & FR_MATCHCASE);
    grid->addWidget(wholeWord, row, 0, 1, 2);
    grid->addWidget(matchCase, row + 1, 0, 1, 2);
    auto* direction = new QGroupBox("Direction", this);  // owned by the dialog also where Replace hides it
    auto* dl = new QHBoxLayout(direction);
    up = new QRadioButton("&Up");
    down = new QRadioButton("&Down");
    (record.Flags & FR_DOWN ? down : up)->setChecked(true);
    dl->addWidget(up);
    dl->addWidget(down);
    if (!replace) grid->addWidget(direction, row + 2, 0, 1, 2);
    else direction->hide();

    auto* buttons = new QVBoxLayout;
    findNext = new QPushButton("&Find Next");
    findNext->setDefault(true);
    buttons->addWidget(findNext);
    if (replace) {
        replaceOne = new QPushButton("&Replace");
        replaceAll = new QPushButton("Replace &All");
        buttons->addWidget(replaceOne);
        buttons->addWidget(replaceAll);
    }
    cancel = new QPushButton("Cancel");
    buttons->addWidget(cancel);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, row + 3, 1);

    auto enable = [this] {
        bool any = !findWhat->text().isEmpty();
        findNext->setEnabled(any);
        if (replaceOne) replaceOne->setEnabled(any);
        if (replaceAll) replaceAll->setEnabled(any);
    };
    connect(findWhat, &QLineEdit::textChanged, this, enable);
    enable();
    connect(findNext, &QPushButton::clicked, this, [this] { Send(FR_FINDNEXT); });
    if (replace) {
        connect(replaceOne, &QPushButton::clicked, this, [this] { Send(FR_REPLACE); });
        connect(replaceAll, &QPushButton::clicked, this, [this] { Send(FR_REPLACEALL); });
    }
    connect(cancel, &QPushButton::clicked, this, [this] { close(); });
    // Typing replaces the proposed text, as in any find dialog.
    findWhat->selectAll();
    findWhat->setFocus();
}

void FindReplaceDialog::Send(uint32_t request) {
    if (retired_) return;
    ToBuffer(findWhat->text(), record_.lpstrFindWhat);
    if (replaceWith) ToBuffer(replaceWith->text(), record_.lpstrReplaceWith);
    uint32_t flags = request;
    if (down->isChecked() || replaceWith) flags |= FR_DOWN;
    if (wholeWord->isChecked()) flags |= FR_WHOLEWORD;
    if (matchCase->isChecked()) flags |= FR_MATCHCASE;
    record_.Flags = flags;
    unsigned message = RegisterWindowMessage("commdlg_FindReplace");
    if (record_.hwndOwner && message)
        record_.hwndOwner->Send(message, 0, reinterpret_cast<intptr_t>(&record_));
}

void FindReplaceDialog::reject() { close(); }

void FindReplaceDialog::closeEvent(QCloseEvent* event) {
    if (!terminated_) {
        terminated_ = true;
        Send(FR_DIALOGTERM);
    }
    event->accept();
}

}  // namespace morvane
