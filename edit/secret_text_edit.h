#pragma once
// The password list's text box: whatever takes text out of it (the Copy
// and Cut of its own menu and keys, Ctrl+Insert, Shift+Delete, a drag) gets
// plain text marked as a secret, the same as the window's Copy command, so
// that the clipboard guard counts it down and clipboard managers keep it
// out of their history.
#include <QTextEdit>

namespace morvane {

class SecretTextEdit : public QTextEdit {
    Q_OBJECT
public:
    using QTextEdit::QTextEdit;
    // Entries of the window's own, added under the list's menu.
    void AddToMenu(QAction* action) { menu_additions_.append(action); }

protected:
    QMimeData* createMimeDataFromSelection() const override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QList<QAction*> menu_additions_;
};

}  // namespace morvane
