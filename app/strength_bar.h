#pragma once
// The status bar under the client area: the strength of the passwords the
// current options would make, brought up to date as any option changes.
#include <QLabel>
#include <QStatusBar>

namespace morvane {

class MainWindow;

class StrengthBar : public QStatusBar {
    Q_OBJECT
public:
    explicit StrengthBar(MainWindow* window);
    QLabel* line() const { return line_; }
    // Reads the options now and shows the result.
    void Refresh();

signals:
    void LineChanged(const QString& text);  // the strength line says something new

private:
    void Schedule();
    MainWindow* window_;
    QLabel* line_;
    bool scheduled_ = false;
};

}  // namespace morvane
