#include "platform/qt/qt_message_box.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QScreen>
#include <QSpacerItem>
#include <algorithm>

namespace morvane {

namespace {

// A message box is as wide as its text needs, and the title bar the desktop
// draws over it may be wider: a box keeps room for its whole title in a
// bold face a little larger than the box's own, beside the title bar's
// buttons, within the screen.
void MakeRoomForTitle(QMessageBox& box) {
    QFont title_font = box.font();
    title_font.setBold(true);
    title_font.setPointSizeF(title_font.pointSizeF() * 1.2);
    const QFontMetrics title(title_font);
    const int title_buttons = 8 * title.height();
    int wanted = title.horizontalAdvance(box.windowTitle()) + title_buttons;
    if (const QScreen* screen = box.screen()) wanted = std::min(wanted, screen->availableGeometry().width() * 9 / 10);
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                      grid->columnCount());
}

}  // namespace

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
    MakeRoomForTitle(box);
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
