#pragma once
// What a screen reader user must hear when it changes: the status word, the
// strength line, "Not found", the clipboard's clearing. The live status is
// a notification of no size in the status bar: each announcement becomes
// its name and shows it anew, which assistive technology reads out as it
// reads any notification that appears. Announcements come at most once a
// second; one that comes sooner waits its turn, and a newer one replaces
// it, so typing or a run does not flood the reader.
#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <QWidget>

namespace morvane {

class LiveStatus : public QWidget {
    Q_OBJECT
public:
    static constexpr int kQuietMilliseconds = 1000;

    explicit LiveStatus(QWidget* status_bar);
    void Announce(const QString& text);

private:
    void Publish(const QString& text);

    QElapsedTimer since_last_;
    QTimer waiting_;
    QString pending_;
};

}  // namespace morvane
