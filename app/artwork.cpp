#include "app/artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace morvane {
namespace {

const QColor kRed(192, 0, 0);
const QColor kNavy(0, 0, 128);

// A padlock, the program's emblem, fitted into `r`.
void DrawLock(QPainter& p, QRectF r) {
    p.setRenderHint(QPainter::Antialiasing);
    QPen shackle(QColor(90, 90, 90), r.width() * 0.12);
    p.setPen(shackle);
    p.setBrush(Qt::NoBrush);
    QRectF arc(r.left() + r.width() * 0.25, r.top() + r.height() * 0.05, r.width() * 0.5,
               r.height() * 0.55);
    p.drawArc(arc, 0, 180 * 16);
    p.drawLine(QPointF(arc.left(), arc.center().y()), QPointF(arc.left(), r.top() + r.height() * 0.5));
    p.drawLine(QPointF(arc.right(), arc.center().y()), QPointF(arc.right(), r.top() + r.height() * 0.5));
    QRectF body(r.left() + r.width() * 0.12, r.top() + r.height() * 0.45, r.width() * 0.76,
                r.height() * 0.5);
    QLinearGradient g(body.topLeft(), body.bottomLeft());
    g.setColorAt(0, QColor(230, 60, 60));
    g.setColorAt(1, kRed);
    p.setPen(QPen(QColor(110, 0, 0), 1));
    p.setBrush(g);
    p.drawRoundedRect(body, r.width() * 0.08, r.width() * 0.08);
    p.setBrush(QColor(40, 0, 0));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(body.center().x(), body.center().y() - body.height() * 0.08),
                  body.width() * 0.08, body.width() * 0.08);
    p.drawRect(QRectF(body.center().x() - body.width() * 0.03, body.center().y(), body.width() * 0.06,
                      body.height() * 0.25));
}

QPixmap Blank(int w, int h) {
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    return pm;
}

}  // namespace

QIcon ProgramIcon() {
    QPixmap pm = Blank(64, 64);
    QPainter p(&pm);
    DrawLock(p, QRectF(4, 2, 56, 60));
    return QIcon(pm);
}

QPixmap LogoPixmap() {
    QPixmap pm(215, 80);
    pm.fill(Qt::white);
    QPainter p(&pm);
    DrawLock(p, QRectF(6, 8, 56, 64));
    QFont title("Verdana", 20, QFont::Bold);
    p.setFont(title);
    p.setPen(kNavy);
    p.drawText(QRect(66, 6, 146, 40), Qt::AlignLeft | Qt::AlignVCenter, "Morvane");
    QFont sub("Verdana", 8);
    p.setFont(sub);
    p.setPen(kRed);
    p.drawText(QRect(68, 44, 146, 30), Qt::AlignLeft | Qt::AlignTop, "Password Generator");
    return pm;
}

QCursor PointingHandCursor() {
    QPixmap pm = Blank(32, 32);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath hand;
    // Index finger up, the other fingers folded.
    hand.moveTo(10, 2);
    hand.cubicTo(12, 0, 14, 0, 15, 2);
    hand.lineTo(15, 13);
    hand.cubicTo(17, 11, 20, 12, 20, 14);
    hand.cubicTo(22, 12, 25, 13, 25, 16);
    hand.cubicTo(27, 15, 29, 16, 29, 18);
    hand.lineTo(29, 24);
    hand.cubicTo(29, 28, 26, 31, 22, 31);
    hand.lineTo(15, 31);
    hand.cubicTo(12, 31, 10, 29, 8, 26);
    hand.lineTo(3, 19);
    hand.cubicTo(2, 17, 4, 15, 6, 16);
    hand.lineTo(10, 20);
    hand.closeSubpath();
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::white);
    p.drawPath(hand);
    return QCursor(pm, 12, 1);
}

QPixmap ToolbarImage(int position) {
    QPixmap pm = Blank(16, 16);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPen ink(Qt::black, 1);
    p.setPen(ink);
    auto page = [&](QColor fill) {
        p.setBrush(fill);
        p.drawPolygon(QPolygon({QPoint(3, 1), QPoint(10, 1), QPoint(13, 4), QPoint(13, 15),
                                QPoint(3, 15)}));
    };
    auto lines = [&](int from, int to) {
        for (int y = from; y <= to; y += 2) p.drawLine(5, y, 11, y);
    };
    auto align = [&](int mode) {
        int widths[4] = {12, 8, 12, 6};
        for (int i = 0; i < 4; ++i) {
            int w = widths[i];
            int x = mode == 0 ? 2 : mode == 2 ? 14 - w : (16 - w) / 2;
            p.drawLine(x, 3 + i * 3, x + w, 3 + i * 3);
        }
    };
    switch (position) {
        case 1:  // Generate: a key
            p.setBrush(QColor(230, 180, 0));
            p.drawEllipse(QRect(1, 4, 7, 7));
            p.drawLine(8, 7, 15, 7);
            p.drawLine(12, 7, 12, 10);
            p.drawLine(14, 7, 14, 10);
            break;
        case 2:  // Save: a floppy disk
            p.setBrush(kNavy);
            p.drawRect(1, 1, 14, 14);
            p.setBrush(Qt::white);
            p.drawRect(4, 2, 8, 5);
            p.drawRect(4, 10, 8, 5);
            break;
        case 3:  // Print
            p.setBrush(Qt::white);
            p.drawRect(4, 1, 8, 5);
            p.setBrush(Qt::gray);
            p.drawRect(1, 6, 14, 6);
            p.setBrush(Qt::white);
            p.drawRect(4, 10, 8, 5);
            break;
        case 4:  // Cut: scissors
            p.drawLine(4, 1, 11, 10);
            p.drawLine(11, 1, 4, 10);
            p.drawEllipse(QRect(1, 10, 5, 5));
            p.drawEllipse(QRect(9, 10, 5, 5));
            break;
        case 5:  // Copy: two pages
            p.setBrush(Qt::white);
            p.drawRect(1, 1, 8, 10);
            p.drawRect(6, 5, 8, 10);
            break;
        case 6:  // Paste: clipboard
            p.setBrush(QColor(170, 120, 60));
            p.drawRect(2, 2, 11, 13);
            p.setBrush(Qt::white);
            p.drawRect(5, 1, 5, 3);
            p.drawRect(6, 6, 8, 9);
            break;
        case 7:  // Delete: a red cross
            p.setPen(QPen(kRed, 2.5));
            p.drawLine(3, 3, 13, 13);
            p.drawLine(13, 3, 3, 13);
            break;
        case 8:  // Find: a magnifier
            p.setPen(QPen(Qt::black, 2));
            p.setBrush(QColor(200, 230, 255));
            p.drawEllipse(QRect(1, 1, 9, 9));
            p.drawLine(9, 9, 14, 14);
            break;
        case 9: {  // Font: a letter A
            QFont f("Serif", 11, QFont::Bold);
            p.setFont(f);
            p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, "A");
            break;
        }
        case 10: align(0); break;
        case 11: align(1); break;
        case 12: align(2); break;
        case 13: {  // Contents: a help book
            p.setBrush(QColor(0, 120, 200));
            p.drawRect(2, 1, 12, 14);
            QFont f("Sans", 9, QFont::Bold);
            p.setFont(f);
            p.setPen(Qt::white);
            p.drawText(QRect(2, 1, 12, 14), Qt::AlignCenter, "?");
            break;
        }
        case 14:  // Website: a globe
            p.setBrush(QColor(120, 190, 255));
            p.drawEllipse(QRect(1, 1, 14, 14));
            p.drawEllipse(QRect(5, 1, 6, 14));
            p.drawLine(1, 8, 15, 8);
            break;
        default:
            page(Qt::white);
            lines(5, 13);
    }
    return pm;
}

}  // namespace morvane
