#pragma once
// Our own modeless Find and Replace dialogs. Each button press fills the
// record the dialog was given and sends it to the owner window.
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/contracts/window_messages.h"

namespace morvane {

class FindReplaceDialog : public QDialog {
    Q_OBJECT
public:
    FindReplaceDialog(QWidget* owner, FindReplaceRecord& record, bool replace);
    // From now on the dialog sends nothing: the record it was given belongs
    // to a newer dialog.
    void Retire() { retired_ = true; }

    QLineEdit* findWhat;
    QLineEdit* replaceWith = nullptr;
    QCheckBox *wholeWord, *matchCase;
    QRadioButton *up, *down;
    QPushButton *findNext, *replaceOne = nullptr, *replaceAll = nullptr, *cancel;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void Send(uint32_t request);
    FindReplaceRecord& record_;
    bool terminated_ = false;
    bool retired_ = false;
};

}  // namespace morvane
