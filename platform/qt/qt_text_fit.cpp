#include "platform/qt/qt_text_fit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>

namespace morvane {
namespace {

constexpr double kSmallestPoints = 5.5;

// The text as drawn: "&" marks the access key and takes no room.
QString Shown(QString text) {
    text.replace("&&", "\x01");
    text.remove('&');
    text.replace("\x01", "&");
    return text;
}

QSize TextSize(const QWidget* w, const QString& text) {
    QFontMetrics m = w->fontMetrics();
    return {m.horizontalAdvance(Shown(text)), m.height()};
}

int LowestChildTop(const QWidget* group) {
    int top = INT_MAX;
    for (const QObject* o : group->children())
        if (auto* child = qobject_cast<const QWidget*>(o); child && !child->isWindow() && !child->isHidden())
            top = std::min(top, child->y());
    return top;
}

QRect CaptionRect(const QGroupBox* box) {
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    option.lineWidth = 1;
    return box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
}

}  // namespace

TextRoom RoomFor(const QWidget* w) {
    if (auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->wordWrap() || label->text().isEmpty() || !label->pixmap().isNull()) return {};
        return {label->contentsRect().size(), TextSize(w, label->text())};
    }
    if (auto* box = qobject_cast<const QCheckBox*>(w)) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        QRect contents = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
        return {QSize(contents.width() - 2, box->height()), TextSize(w, box->text())};
    }
    if (auto* button = qobject_cast<const QPushButton*>(w)) {
        int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        return {QSize(button->width() - margin, button->height() - 4), TextSize(w, button->text())};
    }
    if (auto* field = qobject_cast<const QLineEdit*>(w)) {
        if (field->text().isEmpty()) return {};
        QMargins m = field->textMargins();
        int frame = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
        // A line field keeps two pixels on each side of its text.
        QSize room(field->width() - 2 * frame - 4 - m.left() - m.right(), field->height() - 2 * frame);
        return {room, TextSize(w, field->text())};
    }
    if (auto* group = qobject_cast<const QGroupBox*>(w)) {
        if (group->title().isEmpty()) return {};
        QRect caption = CaptionRect(group);
        return {QSize(group->width() - caption.left(), group->height()), TextSize(w, group->title())};
    }
    return {};
}

bool CaptionClearsControls(const QWidget* w) {
    auto* group = qobject_cast<const QGroupBox*>(w);
    if (!group || group->title().isEmpty()) return true;
    return CaptionRect(group).bottom() < LowestChildTop(group);
}

void FitTexts(QWidget* root) {
    QList<QWidget*> all = root->findChildren<QWidget*>();
    all.prepend(root);
    for (QWidget* w : all) {
        if (w->isWindow() && w != root) continue;
        // A group keeps its children's font as it was when its own is made smaller.
        if (qobject_cast<QGroupBox*>(w))
            for (QObject* o : w->children())
                if (auto* child = qobject_cast<QWidget*>(o)) child->setFont(child->font());
        while ((!RoomFor(w).Fits() || !CaptionClearsControls(w)) && w->font().pointSizeF() > kSmallestPoints) {
            QFont smaller = w->font();
            smaller.setPointSizeF(smaller.pointSizeF() - 0.25);
            w->setFont(smaller);
        }
        if (auto* field = qobject_cast<QLineEdit*>(w)) field->setCursorPosition(0);
    }
}

}  // namespace morvane
