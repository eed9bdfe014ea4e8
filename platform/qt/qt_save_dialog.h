#pragma once
// The save dialog: the name the user typed or accepted is the path. Changing
// the file type only changes what is listed and what is written, never the
// name, and a path whose folder does not exist is refused in the dialog.
#include <QFileDialog>

namespace morvane {

class SaveFileDialog : public QFileDialog {
    Q_OBJECT
public:
    SaveFileDialog(QWidget* owner, const QString& title);

public slots:
    void accept() override;

private:
    QString name_before_type_change_;
};

// The text of the refusal shown for `path` when its folder does not exist.
QString MissingFolderText(const QString& path);

}  // namespace morvane
