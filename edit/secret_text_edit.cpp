#include "edit/secret_text_edit.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QTextDocumentFragment>

#include <memory>

#include "edit/clipboard_clearer.h"
#include "output/line_ends.h"
#include "platform/qt/qt_text.h"

namespace morvane {

QMimeData* SecretTextEdit::createMimeDataFromSelection() const {
    QString selected = textCursor().selection().toPlainText();
    Text text = FromQt(selected);
    selected.fill(QChar(0));
    QMimeData* data = SecretMimeData(ToQt(ClipboardText(text)));
    std::fill(text.begin(), text.end(), U'\0');
    return data;
}

}  // namespace morvane

namespace morvane {

void SecretTextEdit::contextMenuEvent(QContextMenuEvent* event) {
    std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    if (!menu_additions_.isEmpty()) {
        menu->addSeparator();
        menu->addActions(menu_additions_);
    }
    menu->exec(event->globalPos());
}

}  // namespace morvane
