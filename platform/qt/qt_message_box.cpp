#include "platform/qt/qt_message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace morvane {

int QtMessageBox::Show(const std::string& text, int buttons, const std::string& title) {
    QString body = QString::fromStdString(text);
    body.replace("\r\n", "\n");
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title.empty() ? kAppTitle : title),
                    body, QMessageBox::NoButton, owner_);
    if ((buttons & kIconExclamation) == kIconExclamation) box.setIcon(QMessageBox::Warning);
    switch (buttons & 7) {
        case kOkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Ok);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case kYesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::No);
            break;
        default:
            box.setStandardButtons(QMessageBox::Ok);
            box.setEscapeButton(QMessageBox::Ok);
    }
    switch (box.exec()) {
        case QMessageBox::Ok: return kResultOk;
        case QMessageBox::Cancel: return kResultCancel;
        case QMessageBox::Yes: return kResultYes;
        case QMessageBox::No: return kResultNo;
        default: return (buttons & 7) == kOkOnly ? kResultOk : kResultCancel;
    }
}

void QtMessageBox::Beep() { QApplication::beep(); }

}  // namespace morvane
