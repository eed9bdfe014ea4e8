#include "platform/qt/artwork.h"

#include <QImage>

// The resources sit in a static library: they are brought in on first use.
static void LoadArtwork() {
    static const bool loaded = [] {
        Q_INIT_RESOURCE(artwork);
        return true;
    }();
    (void)loaded;
}

namespace morvane {
namespace {

// The pictures live in the program's resources (resources/artwork.qrc):
// each drawn as an SVG, with a PNG of it where the size is fixed.
QPixmap Picture(const char* name) {
    LoadArtwork();
    return QPixmap(QString(":/artwork/") + name);
}

}  // namespace

QIcon ProgramIcon() {
    LoadArtwork();
    QIcon icon(":/artwork/morvane.svg");  // drawn at any size where SVG icons can be read
    icon.addFile(":/artwork/morvane-64.png", QSize(64, 64));
    return icon;
}

QPixmap LogoPixmap() { return Picture("logo.png"); }

QCursor PointingHandCursor() { return QCursor(Picture("hand.png"), 12, 1); }

QPixmap ToolbarImage(int position) {
    static const char* const kNames[] = {"generate.png", "save.png",        "print.png",       "cut.png",
                                         "copy.png",     "paste.png",       "delete.png",      "find.png",
                                         "font.png",     "align-left.png",  "align-center.png", "align-right.png",
                                         "help.png",     "website.png"};
    if (position < 1 || position > 14) return QPixmap(16, 16);
    return Picture(kNames[position - 1]);
}

}  // namespace morvane
