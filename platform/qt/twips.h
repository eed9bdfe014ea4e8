#pragma once
// Places in twips (1/1440 inch), as the window's fixed layout is drawn up,
// turned into pixels at 96 dots per inch.
#include <QWidget>

namespace morvane {

constexpr int Px(int twips) { return twips / 15; }

inline void Place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(Px(left), Px(top), Px(width), Px(height));
}

}  // namespace morvane
