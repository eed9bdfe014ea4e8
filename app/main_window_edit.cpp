// Clipboard, selection, format and Find/Replace commands of the main window.
#include <QClipboard>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMimeData>

#include "app/main_window.h"
#include "edit/find_replace_dialog.h"
#include "options/cli_options.h"
#include "output/line_ends.h"
#include "platform/qt/qt_text.h"

namespace morvane {

TextBox* MainWindow::FocusedTextControl(QString* name) {
    QWidget* focused = focusWidget();
    for (auto& control : controls_) {
        QWidget* widget = nullptr;
        if (auto* t = dynamic_cast<QtTextBox*>(control.get())) widget = t->widget();
        if (auto* r = dynamic_cast<QtRichTextBox*>(control.get())) widget = r->widget();
        if (widget && widget == focused) {
            *name = widget->objectName();
            return static_cast<TextBox*>(control.get());
        }
    }
    return nullptr;
}

// Text that was copied as text: not a file list, which Qt would also offer
// as text (its URLs), and not a picture alone.
static bool IsRealText(const QMimeData* data) {
    if (!data || !data->hasFormat("text/plain")) return false;
    if (data->hasUrls()) {
        for (const QUrl& url : data->urls())
            if (url.isLocalFile()) return false;
    }
    return true;
}

// Copied passwords are marked as a secret, so that desktop clipboard
// managers keep them out of their history, and cleared after a while; the
// text itself is unchanged. Text of the option fields is no secret.
void MainWindow::PutOnClipboard(const Text& text, bool secret) {
    const QString copied = ToQt(ClipboardText(text));
    if (secret) {
        ClipboardGuard::CopySecret(copied);
        return;
    }
    auto* data = new QMimeData;
    data->setText(copied);
    QGuiApplication::clipboard()->setMimeData(data);
}

static bool IsProtected(const QString& name) { return name == "txtStatus" || name == "txtProgress"; }

void MainWindow::mnuCut_Click() {
    Trap("mnuCut_Click", [&] {
        QString name;
        TextBox* field = FocusedTextControl(&name);
        if (!field || IsProtected(name) || field->SelLength() == 0) return;
        PutOnClipboard(field->SelText(), field == list_);
        field->SetSelText(U"");
    });
}

void MainWindow::mnuCopy_Click() {
    Trap("mnuCopy_Click", [&] {
        QString name;
        TextBox* field = FocusedTextControl(&name);
        if (!field || field->SelLength() == 0) return;
        PutOnClipboard(field->SelText(), field == list_);
    });
}

void MainWindow::mnuPaste_Click() {
    Trap("mnuPaste_Click", [&] {
        QString name;
        TextBox* field = FocusedTextControl(&name);
        if (!field || IsProtected(name)) return;
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        if (!IsRealText(data)) return;
        field->SetSelText(FromQt(data->text()));
    });
}

void MainWindow::mnuDelete_Click() {
    Trap("mnuDelete_Click", [&] {
        QString name;
        TextBox* field = FocusedTextControl(&name);
        if (!field || IsProtected(name)) return;
        field->SetSelText(U"");
    });
}

void MainWindow::mnuClipboardDelay_Click() {
    Trap("mnuClipboardDelay_Click", [&] {
        bool chosen = false;
        const int seconds = QInputDialog::getInt(
            this, "Clear Clipboard", "Clear copied passwords from the clipboard after (seconds, 0 = never):",
            clipboardGuard->delay(), ClipboardGuard::kNever, kMostClearAfterSeconds, 1, &chosen);
        if (!chosen) return;
        clipboardGuard->SetDelay(seconds);
        ClipboardGuard::KeepDelay(seconds);
    });
}

void MainWindow::mnuSelectAll_Click() {
    Trap("mnuSelectAll_Click", [&] {
        list_->SetFocus();
        list_->SetSelStart(0);
        list_->SetSelLength(list_->TextLength());
    });
}

void MainWindow::mnuFont_Click() {
    Trap("mnuFont_Click", [&] {
        try {
            // The dialog opens with the face in use; confirmed without a
            // change, it leaves the list as it was.
            const FontSpec in_use = list_->SelFont();
            const FontSpec chosen = services_.dialogs->ShowFont(in_use);
            if (chosen != in_use) list_->SetSelFont(chosen);
        } catch (...) {
            // cancelled or failed: nothing more
        }
    });
}

void MainWindow::mnuAlignLeft_Click() { Trap("mnuAlignLeft_Click", [&] { list_->SetSelAlignment(kAlignLeft); }); }
void MainWindow::mnuAlignCenter_Click() {
    Trap("mnuAlignCenter_Click", [&] { list_->SetSelAlignment(kAlignCenter); });
}
void MainWindow::mnuAlignRight_Click() {
    Trap("mnuAlignRight_Click", [&] { list_->SetSelAlignment(kAlignRight); });
}

void MainWindow::mnuFind_Click() { Trap("mnuFind_Click", [&] { find_->ShowFindDialog(list_, &messages_); }); }
void MainWindow::mnuReplace_Click() {
    Trap("mnuReplace_Click", [&] { find_->ShowReplaceDialog(list_, &messages_); });
}

bool MainWindow::OpenFindDialog(FindReplaceRecord& record, bool replace) {
    // One dialog at a time: a new opening closes the one before, whose
    // buffers are about to be made anew.
    if (auto* old = qobject_cast<FindReplaceDialog*>(find_dialog_.data())) {
        old->Retire();
        old->close();
    }
    find_dialog_ = new FindReplaceDialog(this, record, replace);
    find_dialog_->show();
    return true;
}

}  // namespace morvane
