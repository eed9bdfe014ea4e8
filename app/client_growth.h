#pragma once
// The window grows beyond the layout's size: the list takes every extra
// pixel of width and height, the panels right of it move with the right
// edge, and everything else stays where the layout put it.
#include <QObject>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace morvane {

class ClientGrowth : public QObject {
public:
    enum class Anchor {
        kGrow,         // wider and taller by what the area gained
        kWiden,        // wider only
        kFollowRight,  // moved right by what the area gained in width
    };
    struct Part {
        QWidget* widget;
        Anchor anchor;
    };
    // Takes the parts' places in `client` as they are now, at the layout's
    // size, and follows the area's size from then on.
    ClientGrowth(QWidget* client, std::initializer_list<Part> parts);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Place();
    struct Placed {
        Part part;
        QRect at_layout_size;
    };
    QWidget* client_;
    QSize layout_size_;
    std::vector<Placed> parts_;
};

}  // namespace morvane
