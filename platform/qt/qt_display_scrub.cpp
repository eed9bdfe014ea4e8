#include "platform/qt/qt_display_scrub.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QTimer>
#include <vector>

namespace morvane {
namespace {

// libxcb's request queue (XCB_QUEUE_BUFFER_SIZE) and a ChangeProperty
// request's fixed part: a request of both fills the queue from its start.
constexpr size_t kQueueBytes = 16384;
constexpr size_t kChangePropertyHeader = 24;

xcb_connection_t* Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

}  // namespace

DisplayQueueScrubber::DisplayQueueScrubber(QObject* parent) : QObject(parent) {
    xcb_connection_t* connection = Connection();
    if (!connection) return;
    // An unmapped window of our own, never shown.
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    window_ = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_flush(connection);
    qGuiApp->installNativeEventFilter(this);
}

DisplayQueueScrubber::~DisplayQueueScrubber() {
    if (!window_) return;
    qGuiApp->removeNativeEventFilter(this);
    Scrub();
    if (xcb_connection_t* connection = Connection()) {
        xcb_destroy_window(connection, window_);
        xcb_flush(connection);
    }
}

// A paste asked of us (and each further piece of a long one): once the
// toolkit has answered it, the answer is overwritten.
bool DisplayQueueScrubber::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
    if (type != "xcb_generic_event_t" || pending_) return false;
    const auto kind = static_cast<xcb_generic_event_t*>(message)->response_type & ~0x80;
    if (kind == XCB_SELECTION_REQUEST || kind == XCB_PROPERTY_NOTIFY) {
        pending_ = true;
        QTimer::singleShot(0, this, [this] { Scrub(); });
    }
    return false;
}

void DisplayQueueScrubber::Scrub() {
    pending_ = false;
    xcb_connection_t* connection = Connection();
    if (!connection || !window_) return;
    xcb_flush(connection);  // the queue is empty again, and the next request starts at its front
    static const std::vector<uint8_t> zeros(kQueueBytes - kChangePropertyHeader, 0);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window_, XCB_ATOM_CUT_BUFFER7, XCB_ATOM_STRING, 8,
                        static_cast<uint32_t>(zeros.size()), zeros.data());
    xcb_delete_property(connection, window_, XCB_ATOM_CUT_BUFFER7);
    xcb_flush(connection);
}

}  // namespace morvane
