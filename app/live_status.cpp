#include "app/live_status.h"

#include <QAccessibleWidget>

namespace morvane {
namespace {

QAccessibleInterface* NotificationRole(const QString& class_name, QObject* object) {
    if (class_name == QLatin1String(LiveStatus::staticMetaObject.className()) && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    return nullptr;
}

}  // namespace

LiveStatus::LiveStatus(QWidget* status_bar) : QWidget(status_bar) {
    static const bool installed = (QAccessible::installFactory(NotificationRole), true);
    (void)installed;
    setGeometry(0, 0, 0, 0);  // heard, not seen
    hide();
    waiting_.setSingleShot(true);
    connect(&waiting_, &QTimer::timeout, this, [this] { Publish(pending_); });
}

void LiveStatus::Announce(const QString& text) {
    if (text.isEmpty()) return;
    pending_ = text;
    if (waiting_.isActive()) return;
    const qint64 since = since_last_.isValid() ? since_last_.elapsed() : kQuietMilliseconds;
    if (since >= kQuietMilliseconds)
        Publish(text);
    else
        waiting_.start(static_cast<int>(kQuietMilliseconds - since));
}

void LiveStatus::Publish(const QString& text) {
    since_last_.start();
    hide();
    setAccessibleName(text);
    show();
}

}  // namespace morvane
