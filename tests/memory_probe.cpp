// Makes a run in the real window, tells 40 of its passwords on standard
// output, presses Clear and waits, so that another program can look for
// them in this process's memory.   morvane_memory_probe [COUNT]
#include <QApplication>
#include <QTextBlock>
#include <cstdio>
#include <cstdlib>
#include <string.h>

#include "app/main_window.h"
#include "platform/large_buffers.h"
#include "platform/process_guard.h"
#include "platform/scripted_message_box.h"

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
    window.cmdGenerate->click();
    QApplication::processEvents();
    // 40 passwords spread over the list, each written and its copy zeroed.
    QTextDocument* list = window.rtfPasswords->document();
    for (int i = 0; i < 40; ++i) {
        QString password = list->findBlockByNumber(i * (count / 40)).text();
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
