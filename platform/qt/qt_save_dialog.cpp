#include "platform/qt/qt_save_dialog.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>

namespace morvane {

SaveFileDialog::SaveFileDialog(QWidget* owner, const QString& title) : QFileDialog(owner, title) {
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    // Qt's own dialog rewrites the name's extension when another type is
    // picked (Passwords.txt becomes Passwords.htm, or Passwords.* for all
    // files). The index changes before the pick is announced, so the name is
    // taken there and put back after the dialog's own handling.
    auto* types = findChild<QComboBox*>("fileTypeCombo");
    auto* name = findChild<QLineEdit*>("fileNameEdit");
    if (types && name) {
        connect(types, &QComboBox::currentIndexChanged, this,
                [this, name] { name_before_type_change_ = name->text(); });
        connect(types, &QComboBox::activated, this, [this, name] {
            if (name->text() != name_before_type_change_) name->setText(name_before_type_change_);
        });
    }
}

QString MissingFolderText(const QString& path) {
    return path + "\nPath does not exist.\nCheck the path and try again.";
}

void SaveFileDialog::accept() {
    const QStringList files = selectedFiles();
    if (!files.isEmpty()) {
        QFileInfo chosen(files.first());
        if (!chosen.isDir() && !QFileInfo(chosen.absolutePath()).isDir()) {
            QMessageBox::warning(this, windowTitle(), MissingFolderText(chosen.absolutePath()));
            return;  // the dialog stays open
        }
    }
    QFileDialog::accept();
}

}  // namespace morvane
