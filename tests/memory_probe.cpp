// Makes a run in the real window, tells 40 of its passwords on standard
// output, presses Clear and waits, so that another program can look for
// them in this process's memory.   morvane_memory_probe [COUNT [--paste]]
// With --paste, the first 200 lines are copied and another program (xclip)
// pastes them before the clipboard is cleared; the 40 are among them.
// With --site-rules, the run is of ubisoft.com's rule. With --qr, the
// first line is shown as a QR code, and as a Wi-Fi join code, until Clear.
#include <QApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTextBlock>
#include <QTextCursor>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string.h>

#include "app/generation_strip.h"
#include "app/main_window.h"
#include "app/qr_window.h"
#include "platform/base/large_buffers.h"
#include "platform/base/process_guard.h"
#include "tests/doubles/scripted_message_box.h"

using namespace morvane;

int main(int argc, char** argv) {
    GuardProcess("morvane_memory_probe");  // as the program starts
    KeepLargeBuffersMapped();
    std::setvbuf(stdout, nullptr, _IONBF, 0);  // no copy of what it tells in a buffer of its own
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
    ScriptedMessageBox box;  // answers Yes to Clear
    MainWindow window(box);
    window.form().Form_Load();
    window.show();
    window.txtNum->setText(QString::number(count));
    const bool paste = argc > 2 && std::strcmp(argv[2], "--paste") == 0;
    if (argc > 2 && std::strcmp(argv[2], "--site-rules") == 0) {
        window.generationStrip->optSiteRules->setChecked(true);
        window.generationStrip->txtSite->setText("ubisoft.com");
        emit window.generationStrip->txtSite->textEdited("ubisoft.com");
    }
    window.cmdGenerate->click();
    QApplication::processEvents();
    QTextDocument* list = window.rtfPasswords->document();
    constexpr int kPasted = 200;
    if (paste) {
        QTextCursor lines(list);
        lines.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, kPasted);
        window.rtfPasswords->setTextCursor(lines);
        window.rtfPasswords->setFocus();
        window.mnuCopy->trigger();
        QProcess other;  // what it pastes goes nowhere
        other.setStandardOutputFile(QProcess::nullDevice());
        other.start("xclip", {"-o", "-selection", "clipboard"});
        if (!other.waitForStarted(10000)) return 2;
        QDeadlineTimer deadline(30000);
        while (other.state() != QProcess::NotRunning && !deadline.hasExpired()) QApplication::processEvents();
        if (other.exitCode() != 0) return 3;
        for (int i = 0; i < 20; ++i) QApplication::processEvents();
        window.clipboardGuard->ClearNow();
    }
    if (argc > 2 && std::strcmp(argv[2], "--qr") == 0) {
        window.rtfPasswords->setTextCursor(QTextCursor(list->firstBlock()));
        window.mnuShowQr->trigger();
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* shown = qobject_cast<QrWindow*>(top)) {
                shown->txtNetwork->setText("Home");
                shown->chkWifi->setChecked(true);
                shown->code()->grab();  // painted, as on the screen
            }
        QApplication::processEvents();
    }
    // 40 passwords spread over the list (or the lines pasted), each written
    // and its copy zeroed.
    for (int i = 0; i < 40; ++i) {
        QString password = list->findBlockByNumber(i * ((paste ? kPasted : count) / 40)).text();
        QByteArray utf8 = password.toUtf8();
        std::fwrite(utf8.constData(), 1, static_cast<size_t>(utf8.size()), stdout);
        std::fputc('\n', stdout);
        ::explicit_bzero(utf8.data(), static_cast<size_t>(utf8.size()));
        ::explicit_bzero(password.data(), static_cast<size_t>(password.size()) * sizeof(QChar));
    }
    window.cmdClear->click();
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
    std::puts("cleared");
    std::fflush(stdout);
    std::getchar();  // the scan happens now
    return 0;
}
