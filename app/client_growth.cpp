#include "app/client_growth.h"

#include <QEvent>
#include <QWidget>

namespace morvane {

ClientGrowth::ClientGrowth(QWidget* client, std::initializer_list<Part> parts)
    : QObject(client), client_(client), layout_size_(client->size()) {
    for (const Part& part : parts) parts_.push_back({part, part.widget->geometry()});
    client->setMinimumSize(layout_size_);
    client->installEventFilter(this);
}

bool ClientGrowth::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) Place();
    return QObject::eventFilter(watched, event);
}

void ClientGrowth::Place() {
    const QSize gained = (client_->size() - layout_size_).expandedTo(QSize(0, 0));
    for (const Placed& placed : parts_) {
        QRect at = placed.at_layout_size;
        switch (placed.part.anchor) {
        case Anchor::kGrow: at.setSize(at.size() + gained); break;
        case Anchor::kWiden: at.setWidth(at.width() + gained.width()); break;
        case Anchor::kFollowRight: at.translate(gained.width(), 0); break;
        }
        placed.part.widget->setGeometry(at);
    }
}

}  // namespace morvane
