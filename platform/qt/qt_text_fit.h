#pragma once
// Making every text show whole in the fixed places the windows give it, in
// the fonts that are really installed: where a text is wider or taller than
// its control, the control's font is made smaller until it fits.
#include <QString>
#include <QWidget>

namespace morvane {

// The room a control's text has, and the room it needs in its font now;
// an empty room for controls without a single-line text.
struct TextRoom {
    QSize available;
    QSize needed;
    bool Fits() const {
        return needed.width() <= available.width() && needed.height() <= available.height();
    }
};
TextRoom RoomFor(const QWidget* control);

// A group box's caption must also end above its first control.
bool CaptionClearsControls(const QWidget* group);

// Shrinks the fonts of `root` and its children until every text fits, and
// shows line fields from their first character.
void FitTexts(QWidget* root);

}  // namespace morvane
