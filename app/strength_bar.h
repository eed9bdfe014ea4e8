#pragma once
// The status bar under the client area: the strength of the passwords the
// current options would make, brought up to date as any option changes.
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

#include <future>
#include <vector>

#include "options/strength_line.h"

namespace morvane {

class MainWindow;

class StrengthBar : public QStatusBar {
    Q_OBJECT
public:
    explicit StrengthBar(MainWindow* window);
    // What the line says while a slow count goes on.
    static constexpr const char* kCounting = "Counting the passwords these options allow...";
    QLabel* line() const { return line_; }
    // Reads the options now and shows the result.
    void Refresh();

signals:
    void LineChanged(const QString& text);  // the strength line says something new
    void OptionsRead();  // the options were read again, after a change

private:
    void Schedule();
    void Show(const StrengthLine& strength);
    void TakeFinishedCount();
    MainWindow* window_;
    QLabel* line_;
    bool scheduled_ = false;
    // Counts that took longer than a keystroke should, the newest last;
    // the older ones are let finish and dropped.
    std::vector<std::future<StrengthLine>> counting_;
    bool newest_pending_ = false;  // the last of counting_ is still to be shown
    QTimer waiting_;
};

}  // namespace morvane
