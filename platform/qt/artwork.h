#pragma once
// The program's pictures, from its resources: icon, logo, pointer and toolbar images.
#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace morvane {

QIcon ProgramIcon();                 // 64 x 64
QPixmap LogoPixmap();                // 215 x 80
QCursor PointingHandCursor();        // 32 x 32
QPixmap ToolbarImage(int position);  // 16 x 16, positions 1 to 14

}  // namespace morvane
