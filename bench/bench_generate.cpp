// Throughput of the Generate command with the default options: once on the
// window's procedures alone, once in the real window under Qt.
//   morvane_bench [--engine-only | --cli-only] [counts...]   (default counts 100000 1000000)
// First the engine and morvane-cli against a minimal loop on the same random
// source (10^7 passwords of 8 characters). Then window runs, Replace All, Save
// and Find against Qt's own time for the same work, each with the longest
// time the window went without handling its events.
//   MORVANE_BENCH_EVENTS=1    only the event gaps of runs (a fresh process:
//                             its peak memory is the run's);
//                             with MORVANE_BENCH_SAVE / _FIND / _REPLACE=lines
//                             also those
//   MORVANE_BENCH_LENGTH=n    runs of passwords n long (the event gaps alone)
//   MORVANE_BENCH_GAPS=1      also lists every gap over 30 ms
//   MORVANE_BENCH_WINDOW=1    only the window runs against Qt
//   MORVANE_BENCH_KINDS=1     only passphrases, the each-type rule and
//                             pronounceable passwords against plain ones
//   MORVANE_BENCH_FIND_PRESS=1 only Find Next, from the press in the dialog to
//                             the selection painted, against Qt's own find
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QTextEdit>
#include <QTimer>
#include <fcntl.h>
#include <spawn.h>
#include <sys/random.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <cstdio>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "edit/find_replace_dialog.h"
#include "tests/doubles/memory_main_controls.h"
#include "engine/character_pool.h"
#include "engine/password_maker.h"
#include "platform/base/large_buffers.h"
#include "platform/base/process_guard.h"
#include "platform/qt/qt_file_saver.h"
#include "platform/qt/qt_text.h"
#include "tests/doubles/scripted_message_box.h"

using namespace morvane;
using Seconds = std::chrono::duration<double>;

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

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
    std::vector<double> ours, qt;
    for (int run = 0; run < 3; ++run) {
        ScriptedMessageBox box;
        MainWindow window(box);
        window.form().Form_Load();
        window.show();
        window.txtNum->setText(QString::number(count));
        auto start = std::chrono::steady_clock::now();
        window.Generate();
        QApplication::processEvents();
        ours.push_back(Seconds(std::chrono::steady_clock::now() - start).count());
        // Qt's own time to set the same text into the same list at once.
        QString text = window.rtfPasswords->toPlainText();
        MainWindow other(box);
        other.show();
        QApplication::processEvents();
        start = std::chrono::steady_clock::now();
        other.rtfPasswords->setPlainText(text);
        QApplication::processEvents();
        qt.push_back(Seconds(std::chrono::steady_clock::now() - start).count());
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    double o = Median(ours), q = Median(qt);
    std::printf("window   %9ld passwords  %8.3f s  Qt setPlainText %.3f s  ratio %.2f (medians of 3)  peak so far %ld MiB\n",
                count, o, q, o / q, usage.ru_maxrss / 1024);
    std::fflush(stdout);
}

// The longest time the window went without handling its events while
// `work` ran (and, with `idle_ms`, while it then sat idle for that long).
template <class Work>
double LongestEventGap(Work&& work, int idle_ms = 0) {
    auto last = std::chrono::steady_clock::now();
    const auto began = last;
    double longest = 0;
    QTimer tick;
    tick.setInterval(5);
    QObject::connect(&tick, &QTimer::timeout, &tick, [&] {
        auto now = std::chrono::steady_clock::now();
        double gap = Seconds(now - last).count() * 1000;
        if (gap > 30 && qEnvironmentVariableIsSet("MORVANE_BENCH_GAPS"))
            std::printf("  gap of %.0f ms ending at %.0f ms\n", gap, Seconds(now - began).count() * 1000);
        longest = std::max(longest, gap);
        last = now;
    });
    tick.start();
    work();
    if (idle_ms > 0) {
        QEventLoop loop;
        QTimer::singleShot(idle_ms, &loop, &QEventLoop::quit);
        loop.exec();
    }
    QApplication::processEvents();
    auto now = std::chrono::steady_clock::now();
    return std::max(longest, Seconds(now - last).count() * 1000);
}

// A run of `count` passwords in the window, then 10 s of idling: the
// longest stretch without events in each.
void RunEvents(long count) {
    ScriptedMessageBox box;
    MainWindow window(box);
    window.form().Form_Load();
    window.show();
    window.txtNum->setText(QString::number(count));
    if (const int length = qEnvironmentVariableIntValue("MORVANE_BENCH_LENGTH"); length > 0) {
        window.txtMaxLen->setText(QString::number(length));
        window.txtMinLen->setText(QString::number(length));
    }
    QApplication::processEvents();  // the window's first painting is not the run's
    double run = LongestEventGap([&] { window.Generate(); });
    std::printf("events   %9ld passwords  longest gap during the run %.0f ms", count, run);
    std::fflush(stdout);
    double idle = LongestEventGap([] {}, 10000);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf(", in the 10 s after it %.0f ms;  peak so far %ld MiB\n", idle, usage.ru_maxrss / 1024);
    std::fflush(stdout);
}

// A shown window whose list holds a run of `lines` passwords.
struct WindowWithList {
    ScriptedMessageBox box;
    MainWindow window{box};
    explicit WindowWithList(long lines) {
        window.form().Form_Load();
        window.show();
        window.txtNum->setText(QString::number(lines));
        window.Generate();
        QApplication::processEvents();
    }
};

// Find Next on a list of `lines` lines: the first press, which lands on the
// last line, and then presses that each find the next occurrence.
void FindRun(long lines) {
    WindowWithList shown(lines);
    MainWindow& window = shown.window;
    QStringList all = window.rtfPasswords->toPlainText().split('\n', Qt::SkipEmptyParts);
    Text last = FromQt(all.last());
    auto time = [](auto&& work) {
        auto start = std::chrono::steady_clock::now();
        work();
        return Seconds(std::chrono::steady_clock::now() - start).count() * 1000;
    };
    double open = time([&] { window.mnuFind_Click(); });
    FindOperations& find = window.find().operations();
    find.search_position = 1;
    double first = 0;
    double gap = LongestEventGap([&] { first = time([&] { find.FindNext(last, true, true, true); }); });
    bool right = window.rtfPasswords->textCursor().selectedText() == all.last();
    // Without Match case, to the last line: as made, and one beyond ASCII.
    std::vector<double> ascii, beyond;
    for (int i = 0; i < 5; ++i) {
        find.search_position = 1;
        ascii.push_back(time([&] { find.FindNext(last, false, false, true); }));
    }
    right = right && window.rtfPasswords->textCursor().selectedText() == all.last();
    window.form().controls().rtfPasswords->AppendText(U"z\u00c9ta-\u0416\u00df\r\n");
    for (int i = 0; i < 5; ++i) {
        find.search_position = 1;
        beyond.push_back(time([&] { find.FindNext(U"Z\u00e9TA-\u0436\u00df", false, false, true); }));
    }
    right = right && window.rtfPasswords->textCursor().selectedText() == QString::fromUtf8("zÉta-Жß");
    find.search_position = 1;
    std::vector<double> presses;
    for (int i = 0; i < 5; ++i) presses.push_back(time([&] { find.FindNext(U"a", false, true, true); }));
    std::printf("find     %9ld lines      opening Find %.0f ms, first press %.0f ms%s, without Match case to the "
                "last line %.0f ms (beyond ASCII %.0f ms, target 30), next presses median %.0f ms;"
                "  longest gap %.0f ms\n", lines, open, first, right ? "" : " (WRONG)", Median(ascii), Median(beyond),
                Median(presses), gap);
    std::fflush(stdout);
}

// Records when a widget was last painted.
class PaintClock : public QObject {
public:
    explicit PaintClock(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted = true;
        return false;
    }
    bool painted = false;
};

// From `press` until the list's view has painted what it did, in ms.
template <class Press>
double PressToPaint(QWidget* view, Press&& press) {
    PaintClock clock(view);
    const auto start = std::chrono::steady_clock::now();
    press();
    // A press that changed nothing on the screen paints nothing: given up
    // after a second.
    while (!clock.painted && std::chrono::steady_clock::now() - start < std::chrono::seconds(1))
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    if (!clock.painted) std::printf("  (nothing painted)\n");
    return Seconds(std::chrono::steady_clock::now() - start).count() * 1000;
}

// Find Next pressed in the real dialog on a list of `lines` lines, from the
// press to the selection painted, against Qt's own find and selection of the
// same text in the same document, painted the same way.
// With a `prefix`, every line begins with it, as a naive search's worst case.
void FindPressRun(long lines, const QString& prefix = {}) {
    WindowWithList shown(lines);
    MainWindow& window = shown.window;
    QTextEdit* list = window.rtfPasswords;
    QStringList all = list->toPlainText().split('\n', Qt::SkipEmptyParts);
    if (!prefix.isEmpty()) {
        for (QString& line : all) line.prepend(prefix);
        window.form().controls().rtfPasswords->SetText(FromQt(all.join("\r\n") + "\r\n"));
        // The lines measured meanwhile, as after a run.
        const auto settled = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < settled) QApplication::processEvents(QEventLoop::AllEvents, 50);
        std::printf("find     every line begins with \"%s\"\n", prefix.toUtf8().constData());
    }
    window.mnuFind_Click();
    QApplication::processEvents();
    auto* dialog = qobject_cast<FindReplaceDialog*>(window.findDialog());
    if (!dialog) return;
    // The first press after the run, and the first after an edit of the list.
    dialog->findWhat->setText(all[1]);
    list->moveCursor(QTextCursor::Start);
    window.find().operations().search_position = 1;
    const double first = PressToPaint(list->viewport(), [&] { dialog->findNext->click(); });
    QTextCursor end(list->document());
    end.movePosition(QTextCursor::End);
    end.insertText("x");  // as if typed at the end
    QApplication::processEvents();
    list->moveCursor(QTextCursor::Start);
    window.find().operations().search_position = 1;
    const double after_edit = PressToPaint(list->viewport(), [&] { dialog->findNext->click(); });
    std::printf("find     %9ld lines      Find Next to line 2: first press after the run %.1f ms, after an edit "
                "%.1f ms (target 30 ms)\n", lines, first, after_edit);
    for (const bool match_case : {true, false}) {
        dialog->matchCase->setChecked(match_case);
        for (const int line : {1, static_cast<int>(all.size()) - 1}) {
            const QString target = all[line];
            std::vector<double> ours, qts;
            for (int i = 0; i < 5; ++i) {
                dialog->findWhat->setText(target);
                list->moveCursor(QTextCursor::Start);
                window.find().operations().search_position = 1;
                QApplication::processEvents();
                ours.push_back(PressToPaint(list->viewport(), [&] { dialog->findNext->click(); }));
                const bool right = list->textCursor().selectedText() == target;
                list->moveCursor(QTextCursor::Start);
                QApplication::processEvents();
                qts.push_back(PressToPaint(list->viewport(), [&] {
                    const QTextCursor found = list->document()->find(
                        target, 0, match_case ? QTextDocument::FindCaseSensitively : QTextDocument::FindFlags());
                    list->setTextCursor(found);
                }));
                if (!right) std::printf("  (WRONG selection)\n");
            }
            std::printf("find     %9ld lines      Find Next to line %7d%s: press to painted selection %.1f ms, "
                        "Qt's find and selection %.1f ms, ratio %.2f (medians of 5, target 30 ms)\n",
                        lines, line + 1, match_case ? ", Match case" : "", Median(ours), Median(qts),
                        Median(ours) / Median(qts));
            std::fflush(stdout);
        }
    }
}

// Saving a list of `lines` lines: the list's text, its UTF-8 bytes and the
// file, each timed, against Qt's own time to write the same bytes.
void SaveRun(long lines) {
    WindowWithList shown(lines);
    MainWindow& window = shown.window;
    const std::string path = "/tmp/morvane_bench_save.txt";
    auto ms = [](auto start) { return Seconds(std::chrono::steady_clock::now() - start).count() * 1000; };
    double read = 0, encode = 0, write = 0;
    std::string bytes, failure;
    // What the Save command does once the user has named the file.
    double gap = LongestEventGap([&] {
        auto start = std::chrono::steady_clock::now();
        const Text& text = window.form().controls().rtfPasswords->TextView();
        read = ms(start);
        start = std::chrono::steady_clock::now();
        bytes.reserve(text.size() + 2);
        AppendUtf8(bytes, text);
        bytes += "\r\n";
        encode = ms(start);
        start = std::chrono::steady_clock::now();
        QtFileSaver saver;
        failure = saver.Save(path, bytes);
        write = ms(start);
    });
    QFile qt(QString::fromStdString(path + ".qt"));
    auto start = std::chrono::steady_clock::now();
    qt.open(QIODevice::WriteOnly);
    qt.write(bytes.data(), static_cast<qint64>(bytes.size()));
    qt.close();
    double qt_write = ms(start);
    std::filesystem::remove(path);
    std::filesystem::remove(path + ".qt");
    std::printf("save     %9ld lines      text %.0f ms, UTF-8 %.0f ms, file %.0f ms%s; QFile write %.0f ms;"
                "  longest gap %.0f ms\n", lines, read, encode, write, failure.empty() ? "" : " FAILED", qt_write, gap);
}

// The engine alone against a minimal loop on the same random source: 8
// characters from the 94 printable ones, into memory.
void EngineAgainstYardstick(long count) {
    Pool pool;
    BuildPool(GenerationSettings{}, pool);
    PasswordMaker maker(pool, 8, 8, false);
    std::string out;
    auto time = [](auto&& work) {
        auto start = std::chrono::steady_clock::now();
        work();
        return Seconds(std::chrono::steady_clock::now() - start).count();
    };
    double engine = time([&] {
        for (long i = 0; i < count; ++i) {
            maker.AppendUtf8(out);
            out.push_back('\n');
            if (out.size() > (1 << 16)) out.clear();
        }
    });
    double yardstick = time([&] {
        unsigned char random[4096];
        size_t used = sizeof random;
        for (long i = 0; i < count; ++i) {
            for (int k = 0; k < 8;) {
                if (used == sizeof random) {
                    if (getrandom(random, sizeof random, 0) < 0) return;
                    used = 0;
                }
                unsigned char b = random[used++];
                if (b < 188) {
                    out.push_back(static_cast<char>(33 + b % 94));
                    ++k;
                }
            }
            out.push_back('\n');
            if (out.size() > (1 << 16)) out.clear();
        }
    });
    std::printf("engine   %9ld passwords  %8.0f /s  yardstick loop %8.0f /s  time ratio %.2f\n", count,
                count / engine, count / yardstick, engine / yardstick);
}

// What a program run took: its own CPU time and peak memory.
struct ProcessCost {
    double wall = -1, cpu = -1;  // seconds
    long peak_kib = -1;
};

// Runs `args` with its output to /dev/null. A child's peak memory counts the
// memory of the process it was started from, so the program is started by a
// small launcher (this benchmark in --launch mode, fresh from exec) whose own
// child it is, and the launcher reports what the program alone took.
ProcessCost RunProcess(std::vector<std::string> args) {
    args.insert(args.begin(), {std::filesystem::canonical("/proc/self/exe").string(), "--launch"});
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int report[2];
    if (pipe(report) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, report[1], 3);
    pid_t pid = 0;
    const bool started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(report[1]);
    ProcessCost cost;
    char line[128] = {};
    if (started && read(report[0], line, sizeof line - 1) > 0)
        std::sscanf(line, "%lf %lf %ld", &cost.wall, &cost.cpu, &cost.peak_kib);
    close(report[0]);
    if (started) waitpid(pid, nullptr, 0);
    return cost;
}

// The launcher: starts the program, waits, and writes its wall time, CPU time
// and peak memory to file descriptor 3.
int Launch(char** argv) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        close(3);
        execv(argv[0], argv);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const double wall = Seconds(std::chrono::steady_clock::now() - start).count();
    const double cpu = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
                       usage.ru_stime.tv_usec / 1e6;
    dprintf(3, "%f %f %ld\n", wall, cpu, usage.ru_maxrss);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

// morvane-cli against the yardstick loop making as many bytes: CPU time of
// each whole process, medians of 5 interleaved rounds.
void CliCase(const std::string& folder, const char* what, std::vector<std::string> cli_args, long count,
             long yardstick_length, double target) {
    cli_args.insert(cli_args.begin(), folder + "/morvane-cli");
    cli_args.insert(cli_args.end(), {"-n", std::to_string(count)});
    std::vector<double> ours, yard, ratio;
    long peak = 0;
    for (int run = 0; run < 5; ++run) {
        const ProcessCost c = RunProcess(cli_args);
        const ProcessCost y =
            RunProcess({folder + "/morvane_yardstick", std::to_string(count), std::to_string(yardstick_length)});
        ours.push_back(c.cpu);
        yard.push_back(y.cpu);
        ratio.push_back(c.cpu / y.cpu);
        peak = std::max(peak, c.peak_kib);
    }
    std::printf("cli      %-26s %9ld  CPU %6.3f s  yardstick %6.3f s  ratio %.2f (target %.1f)  peak %ld KiB\n",
                what, count, Median(ours), Median(yard), Median(ratio), target, peak);
}

void CliAgainstYardstick(const std::string& folder, long count) {
    CliCase(folder, "8 characters", {"-l", "8"}, count, 8, 0.8);
    CliCase(folder, "6 to 8 characters", {}, count, 7, 1.0);
    CliCase(folder, "64 characters", {"-l", "64"}, count / 4, 64, 1.0);
    CliCase(folder, "8 characters, --unique", {"-l", "8", "--unique"}, count, 8, 2.0);
}

// Bytes a line of the program's output takes on average, over `count` lines.
double BytesPerLine(const std::string& command, long count) {
    std::FILE* pipe = popen((command + " -n " + std::to_string(count)).c_str(), "r");
    if (!pipe) return 0;
    char buffer[1 << 16];
    size_t bytes = 0;
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) bytes += n;
    pclose(pipe);
    return static_cast<double>(bytes) / static_cast<double>(count);
}

// Six-word passphrases from morvane-cli against the yardstick loop writing
// the same number of bytes.
void PassphrasesAgainstYardstick(const std::string& folder, long count) {
    const std::string cli = folder + "/morvane-cli";
    const double per_line = BytesPerLine(cli + " --passphrase", 100000);
    const long length = std::lround(per_line) - 1;  // without the line end
    std::vector<double> ours, yard, ratio;
    for (int run = 0; run < 5; ++run) {
        const double c = RunProcess({cli, "--passphrase", "-n", std::to_string(count)}).cpu;
        const double y = RunProcess({folder + "/morvane_yardstick", std::to_string(count), std::to_string(length)}).cpu;
        ours.push_back(c);
        yard.push_back(y);
        ratio.push_back(c / y);
    }
    std::printf("phrases  %9ld passphrases of 6 words (%.1f bytes a line)  CPU %6.3f s  yardstick %.3f s  "
                "ratio %.2f (medians of 5, target 2)\n",
                count, per_line, Median(ours), Median(yard), Median(ratio));
}

// One kind of output against a plainer one (`baseline`): CPU time of each
// whole morvane-cli process, medians of 5 interleaved rounds.
void AgainstPlain(const std::string& folder, const char* what, std::vector<std::string> args, const char* baseline,
                  std::vector<std::string> baseline_args, long count, double target) {
    const std::string cli = folder + "/morvane-cli";
    for (auto* list : {&args, &baseline_args}) {
        list->insert(list->begin(), cli);
        list->insert(list->end(), {"-n", std::to_string(count)});
    }
    std::vector<double> kind, plain, ratio;
    for (int run = 0; run < 5; ++run) {
        const double k = RunProcess(args).cpu;
        const double p = RunProcess(baseline_args).cpu;
        kind.push_back(k);
        plain.push_back(p);
        ratio.push_back(k / p);
    }
    std::printf("against  %9ld %-36s CPU %6.3f s  %s %.3f s  ratio %.2f (medians of 5", count, what,
                Median(kind), baseline, Median(plain), Median(ratio));
    if (target > 0) std::printf(", target %.1f", target);
    std::printf(")\n");
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
    QString crlf = list;
    window.form().controls().rtfPasswords->SetText(FromQt(crlf.replace('\n', "\r\n")));
    window.find().operations().SetTarget(nullptr);
    window.mnuReplace_Click();
    double ours = 0;
    double gap = LongestEventGap([&] {
        ours = time([&] {
            window.find().operations().search_position = 1;
            window.find().operations().Replace(U"cd", U"XYZ", false, true, true);
        });
    });
    bool right = window.rtfPasswords->toPlainText() == replaced;
    std::printf("replace  %9ld lines      %8.3f s  Qt setPlainText %.3f s  ratio %.2f%s  longest gap %.0f ms\n", lines,
                ours, qt, ours / qt, right ? "" : "  WRONG RESULT", gap);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 && std::strcmp(argv[1], "--launch") == 0) return Launch(argv + 2);
    GuardProcess("morvane_bench");  // as the program does
    KeepLargeBuffersMapped();
    bool engine_only = false, cli_only = false;
    std::vector<long> counts;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--engine-only") == 0) engine_only = true;
        else if (std::strcmp(argv[i], "--cli-only") == 0) cli_only = true;
        else counts.push_back(std::stol(argv[i]));
    }
    if (counts.empty()) counts = {100000, 1000000};
    std::string folder = std::filesystem::canonical("/proc/self/exe").parent_path().string();
    if (qEnvironmentVariableIsSet("MORVANE_BENCH_WINDOW")) {  // only the window runs
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        for (long n : counts) WindowRun(n);
        return 0;
    }
    if (qEnvironmentVariableIsSet("MORVANE_BENCH_FIND_PRESS")) {  // only Find Next from press to paint
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        FindPressRun(1000000);
        FindPressRun(1000000, "Morvane-");
        return 0;
    }
    if (qEnvironmentVariableIsSet("MORVANE_BENCH_EVENTS")) {  // only the event gaps
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        for (long n : counts) RunEvents(n);
        if (qEnvironmentVariableIsSet("MORVANE_BENCH_SAVE")) SaveRun(1000000);
        if (qEnvironmentVariableIsSet("MORVANE_BENCH_FIND")) FindRun(1000000);
        if (qEnvironmentVariableIsSet("MORVANE_BENCH_REPLACE")) ReplaceAllRun(qEnvironmentVariableIntValue("MORVANE_BENCH_REPLACE"));
        return 0;
    }
    const bool kinds_only = qEnvironmentVariableIsSet("MORVANE_BENCH_KINDS");  // only the kinds against plain ones
    if (!cli_only && !kinds_only) EngineAgainstYardstick(10000000);
    if (!kinds_only) CliAgainstYardstick(folder, 10000000);
    PassphrasesAgainstYardstick(folder, 1000000);
    AgainstPlain(folder, "of 8 with one of each type", {"--each-type", "-l", "8"}, "plain of 8", {"-l", "8"}, 1000000, 0);
    AgainstPlain(folder, "pronounceable, 3 groups", {"--pronounceable"}, "plain of 20", {"-l", "20"}, 1000000, 2);
    AgainstPlain(folder, "passphrases, 13 separators", {"--passphrase", "--separators", "0123456789!#%"},
                 "one separator", {"--passphrase"}, 1000000, 1.5);
    if (kinds_only) return 0;
    if (cli_only) return 0;
    for (long n : counts) EngineRun(n);
    if (engine_only) return 0;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (long n : counts) WindowRun(n);
    for (long n : counts) RunEvents(n);
    ReplaceAllRun(100000);
    ReplaceAllRun(1000000);
    SaveRun(1000000);
    FindRun(1000000);
    FindPressRun(1000000);
    return 0;
}
