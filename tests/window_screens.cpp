// Pictures of every window a user meets, grabbed from the screen: the main
// window after the first default run and after a longer one, the list with
// a font set on a selection, the About box, the Find and Replace dialogs,
// the save dialog and a message box; and the list printed into a PDF file.
//   morvane_screens OUT-FOLDER   (run under a display)
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "about/frm_about.h"
#include "app/generation_strip.h"
#include "app/main_window.h"
#include "platform/qt/qt_message_box.h"
#include "tests/doubles/scripted_message_box.h"

using namespace morvane;

namespace {

void Settle() {
    for (int i = 0; i < 15; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

bool Shoot(QWidget* w, const QString& path) {
    Settle();
    QRect frame = w->frameGeometry();
    QImage shot = w->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).toImage();
    if (shot.isNull()) shot = w->grab().toImage();
    bool ok = shot.save(path);
    std::printf("%s %dx%d\n", qPrintable(path), shot.width(), shot.height());
    return ok;
}

// Answers the print dialog with one copy, so the list prints into the PDF
// file the printer is set to.
struct OneCopy : CommonDialog {
    SaveAnswer ShowSave(const SaveRequest&) override { throw CancelError(); }
    int ShowPrinter() override { return 1; }
    FontSpec ShowFont(const FontSpec& f) override { return f; }
};

// Shoots the next top-level window of type T once the command below has shown it, then closes it.
template <class T>
void ShootWhenShown(const QString& path, std::function<void(T*)> before = {}) {
    QTimer::singleShot(300, [path, before] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* w = qobject_cast<T*>(top); w && w->isVisible()) {
                if (before) before(w);
                Shoot(w, path);
                w->close();
                return;
            }
        }
        std::printf("%s: nothing shown\n", qPrintable(path));
    });
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDir out(argc > 1 ? argv[1] : ".");
    out.mkpath(".");
    ScriptedMessageBox scripted;
    MainWindow window(scripted);
    window.Start();
    window.move(20, 20);
    window.show();
    Settle();
    window.Generate();  // the defaults: 10 passwords
    Shoot(&window, out.filePath("first-run.png"));
    window.txtNum->setText("40");
    window.Generate();
    Shoot(&window, out.filePath("main-window.png"));

    {
        OneCopy dialogs;
        QtPrinter printer;
        printer.device().setOutputFormat(QPrinter::PdfFormat);
        printer.device().setOutputFileName(out.filePath("printed.pdf"));
        MainWindow printing(WindowServices{.box = &scripted, .dialogs = &dialogs, .printer = &printer});
        printing.form().Form_Load();
        printing.rtfPasswords->setPlainText(window.rtfPasswords->toPlainText());
        printing.form().cmdPrint_Click();
        std::printf("%s\n", qPrintable(out.filePath("printed.pdf")));
    }

    ShootWhenShown<frmAbout>(out.filePath("about.png"));
    window.mnuAbout_Click();

    window.rtfPasswords->selectAll();
    QTextCursor c = window.rtfPasswords->textCursor();
    c.setPosition(0);
    c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    window.rtfPasswords->setTextCursor(c);
    window.mnuFind_Click();
    Shoot(window.findDialog(), out.filePath("find.png"));
    window.mnuReplace_Click();
    Shoot(window.findDialog(), out.filePath("replace.png"));
    window.findDialog()->close();

    // Three lines in a larger monospaced face.
    QTextCursor three(window.rtfPasswords->document());
    three.movePosition(QTextCursor::Down, QTextCursor::KeepAnchor, 3);
    window.rtfPasswords->setTextCursor(three);
    FontSpec larger;
    larger.name = "DejaVu Sans Mono";
    larger.size = 14;
    window.form().controls().rtfPasswords->SetSelFont(larger);
    Shoot(&window, out.filePath("font-on-selection.png"));

    // Passphrases: the strip in use, the frames that do not apply disabled.
    window.generationStrip->optPassphrases->setChecked(true);
    window.generationStrip->cboCase->setCurrentIndex(static_cast<int>(WordCase::kRandom));
    window.generationStrip->spnDigits->setValue(1);
    window.form().controls().rtfPasswords->SetText(U"");
    window.txtNum->setText("12");
    window.Generate();
    Shoot(&window, out.filePath("passphrases.png"));
    // Site rules: a known site replaced by one not known, then one that
    // signs in with another's account, with its change page beside the rule.
    GenerationStrip& strip = *window.generationStrip;
    strip.optSiteRules->setChecked(true);
    strip.txtSite->setText("ubisoft.com");
    emit strip.txtSite->textEdited("ubisoft.com");
    strip.txtSite->setText("github.com");
    emit strip.txtSite->textEdited("github.com");
    window.form().controls().rtfPasswords->SetText(U"");
    window.Generate();
    Shoot(&window, out.filePath("site-not-known.png"));
    strip.txtSite->setText("x.com");
    emit strip.txtSite->textEdited("x.com");
    Shoot(&window, out.filePath("shared-account.png"));
    window.generationStrip->optPasswords->setChecked(true);

    ShootWhenShown<QFileDialog>(out.filePath("save.png"));
    window.cmdSave->click();

    QtMessageBox real(&window);
    ShootWhenShown<QMessageBox>(out.filePath("message.png"));
    real.Show("Enter a value greater than 3 but less than 129 for Min Length", kOkOnly,
              "INPUT ERROR: Invalid Entry.");
    return 0;
}
