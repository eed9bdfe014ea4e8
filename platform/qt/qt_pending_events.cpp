#include "platform/qt/qt_pending_events.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace morvane {

void PendingEvents::Handle() {
    if (since_.isValid() && since_.elapsed() < 20) return;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    since_.start();
}

}  // namespace morvane
