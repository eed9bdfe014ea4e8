// Throughput of the Generate command with the default options: once on the
// window's procedures alone, once in the real window under Qt.
//   morvane_bench [--engine-only] [counts...]   (default counts 100000 1000000)
#include <QApplication>
#include <QTextEdit>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/memory_main_controls.h"
#include "platform/scripted_message_box.h"

using namespace morvane;
using Seconds = std::chrono::duration<double>;

namespace {

template <class Run>
void Report(const char* what, long count, Run&& run) {
    auto start = std::chrono::steady_clock::now();
    run();
    double s = Seconds(std::chrono::steady_clock::now() - start).count();
    std::printf("%-8s %9ld passwords  %8.3f s  %12.0f passwords/s\n", what, count, s, count / s);
    std::fflush(stdout);
}

void EngineRun(long count) {
    MemoryMainControls controls;
    ScriptedMessageBox box;
    frmMain form(controls.Bind(), MainEnvironment{&box, {}, {}});
    form.Form_Load();
    controls.txtNum.SetText(Ascii(std::to_string(count)));
    Report("engine", count, [&] { form.cmdGenerate_Click(); });
    if (!box.shown.empty()) std::printf("  unexpected message: %s\n", box.shown[0].text.c_str());
}

void WindowRun(long count) {
    ScriptedMessageBox box;
    MainWindow window(box);
    window.form().Form_Load();
    window.show();
    window.txtNum->setText(QString::number(count));
    Report("window", count, [&] { window.Generate(); });
}

// Replace All of one occurrence per line on a list of `lines` lines, against
// Qt's own time to set the same resulting text into the list at once.
void ReplaceAllRun(long lines) {
    ScriptedMessageBox box;
    MainWindow window(box);
    window.form().Form_Load();
    window.show();
    QString list;
    for (long i = 0; i < lines; ++i) list += QString("ab%1cd\n").arg(i % 1000, 3, 10, QChar('0'));
    QString replaced = list;
    replaced.replace("cd", "XYZ");
    auto time = [](auto&& work) {
        auto start = std::chrono::steady_clock::now();
        work();
        return Seconds(std::chrono::steady_clock::now() - start).count();
    };
    QTextEdit yardstick;
    double qt = time([&] { yardstick.setPlainText(replaced); });
    window.rtfPasswords->setPlainText(list);
    window.find().operations().SetTarget(nullptr);
    window.mnuReplace_Click();
    double ours = time([&] {
        window.find().operations().search_position = 1;
        window.find().operations().Replace(U"cd", U"XYZ", false, true, true);
    });
    bool right = window.rtfPasswords->toPlainText() == replaced;
    std::printf("replace  %9ld lines      %8.3f s  Qt setPlainText %.3f s  ratio %.2f%s\n", lines, ours,
                qt, ours / qt, right ? "" : "  WRONG RESULT");
}

}  // namespace

int main(int argc, char** argv) {
    bool engine_only = false;
    std::vector<long> counts;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--engine-only") == 0) engine_only = true;
        else counts.push_back(std::stol(argv[i]));
    }
    if (counts.empty()) counts = {100000, 1000000};
    for (long n : counts) EngineRun(n);
    if (engine_only) return 0;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (long n : counts) WindowRun(n);
    ReplaceAllRun(100000);
    return 0;
}
