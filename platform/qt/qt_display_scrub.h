#pragma once
// The connection to the X display keeps the last requests it sent in a
// queue of its own, and a paste that another program asks of us is sent
// through it: the pasted passwords would stay there, in plain text, until
// other requests happen to overwrite them. After every paste served, the
// queue is overwritten with a harmless request of zeros as large as it is.
#include <QAbstractNativeEventFilter>
#include <QObject>

namespace morvane {

class DisplayQueueScrubber : public QObject, public QAbstractNativeEventFilter {
public:
    // Watches the application's X connection; does nothing on other platforms.
    explicit DisplayQueueScrubber(QObject* parent = nullptr);
    ~DisplayQueueScrubber() override;
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;
    // Sends what is queued and overwrites the queue.
    void Scrub();

private:
    bool pending_ = false;
    unsigned window_ = 0;  // a window of our own to put the zeros on
};

}  // namespace morvane
