// What the list shows: every line it holds is drawn where it stands, and
// a format is laid out at once.
#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QFontDialog>
#include <QFontMetricsF>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>

#include "app/main_window.h"
#include "modal_driver.h"
#include "shown_window.h"

using namespace morvane;

namespace {

struct Window : ShownWindow {
    QTextEdit* list() { return window.rtfPasswords; }
    void Run(int count) {
        window.txtNum->setText(QString::number(count));
        window.Generate();
        QApplication::processEvents();
    }
    // The view's rows of line n, as drawn now.
    QRect Band(int n) {
        const QTextBlock block = list()->document()->findBlockByNumber(n);
        QRectF r = list()->document()->documentLayout()->blockBoundingRect(block);
        r.translate(-list()->horizontalScrollBar()->value(), -list()->verticalScrollBar()->value());
        return r.toAlignedRect();
    }
    // The lines of the list that show in the view but have no ink.
    std::vector<int> BlankLines() {
        const QImage picture = list()->viewport()->grab().toImage();
        const QRgb paper = list()->viewport()->palette().color(QPalette::Base).rgb();
        const qreal scale = picture.devicePixelRatio();
        std::vector<int> blank;
        for (int n = 0; n < list()->document()->blockCount(); ++n) {
            if (list()->document()->findBlockByNumber(n).text().isEmpty()) continue;
            const QRect band = Band(n).intersected(list()->viewport()->rect());
            if (band.height() < Band(n).height()) continue;  // not wholly in view
            bool ink = false;
            for (int y = int(band.top() * scale); !ink && y < int(band.bottom() * scale); ++y)
                for (int x = 0; !ink && x < picture.width(); ++x) ink = picture.pixel(x, y) != paper;
            if (!ink) blank.push_back(n);
        }
        return blank;
    }
};

}  // namespace

TEST(ListDrawing, EveryLineOfEveryRunIsDrawn) {
    Window w;
    w.Run(10);
    EXPECT_EQ(w.list()->document()->blockCount(), 11);
    EXPECT_EQ(w.BlankLines(), std::vector<int>{});
    w.Run(10);  // a second run appends
    EXPECT_EQ(w.BlankLines(), std::vector<int>{});
}

namespace {

// A bigger face chosen in the real Font dialog for the whole list, or for
// its first three lines.
void ChooseBigFont(Window& w, bool all) {
    if (all) {
        w.window.mnuSelectAll_Click();
    } else {
        QTextCursor c(w.list()->document());
        c.movePosition(QTextCursor::Down, QTextCursor::KeepAnchor, 3);
        w.list()->setTextCursor(c);
    }
    WhenModal<QFontDialog>([](QFontDialog* d) {
        d->setCurrentFont(QFont("DejaVu Sans Mono", 14));
        d->accept();
    });
    w.window.mnuFont_Click();
}

// Pairs of neighbouring lines whose rows overlap.
int OverlappingLines(Window& w, int lines) {
    int overlaps = 0;
    auto* layout = w.list()->document()->documentLayout();
    QRectF above = layout->blockBoundingRect(w.list()->document()->firstBlock());
    for (QTextBlock b = w.list()->document()->firstBlock().next(); b.isValid() && b.blockNumber() < lines;
         b = b.next()) {
        const QRectF here = layout->blockBoundingRect(b);
        if (here.top() < above.bottom() - 0.5) ++overlaps;
        above = here;
    }
    return overlaps;
}

}  // namespace

TEST(ListDrawing, AFontChosenForTheListIsLaidOutAtOnce) {
    for (auto [count, all] : {std::pair{10, true}, {100000, true}, {10, false}, {100000, false}}) {
        SCOPED_TRACE(testing::Message() << count << (all ? " lines, all" : " lines, three"));
        Window w;
        w.Run(count);
        const qreal before = w.Band(1).height();
        ChooseBigFont(w, all);
        QApplication::processEvents();
        EXPECT_GT(w.Band(1).height(), before);  // 14 pt takes more room than 8.25 pt
        EXPECT_EQ(OverlappingLines(w, std::min(count, 2000)), 0);
        EXPECT_EQ(w.BlankLines(), std::vector<int>{});
    }
}

TEST(ListDrawing, TheListsFaceTellsLookAlikesApartAndTheFontDialogOpensWithIt) {
    Window w;
    const QFont face = w.list()->font();
    EXPECT_DOUBLE_EQ(face.pointSizeF(), 8.25);
    // Drawn large and scaled to the same box, the two characters' ink
    // differs in shape: a face that draws I, l and | as the same bar of
    // different heights fails.
    auto shape = [&](QChar c) {
        QFont large = face;
        large.setPixelSize(64);
        QImage picture(128, 128, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.setFont(large);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(32, 96), QString(c));
        painter.end();
        QRect ink;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (qGray(picture.pixel(x, y)) < 128) ink |= QRect(x, y, 1, 1);
        return picture.copy(ink).scaled(16, 32).convertToFormat(QImage::Format_Grayscale8);
    };
    auto looks_alike = [&](QChar a, QChar b) {
        const QImage one = shape(a), other = shape(b);
        int differing = 0;
        for (int y = 0; y < one.height(); ++y)
            for (int x = 0; x < one.width(); ++x)
                differing += (qGray(one.pixel(x, y)) < 128) != (qGray(other.pixel(x, y)) < 128);
        return differing < 16;  // of 512
    };
    for (auto [a, b] : {std::pair{'I', 'l'}, {'l', '1'}, {'I', '|'}, {'O', '0'}})
        EXPECT_FALSE(looks_alike(QChar(a), QChar(b))) << a << " and " << b;
    QString offered;
    WhenModal<QFontDialog>([&](QFontDialog* d) {
        offered = d->currentFont().family();
        d->reject();
    });
    w.window.mnuFont_Click();
    EXPECT_EQ(offered, QFontInfo(face).family());
}

TEST(ListDrawing, ARunOfLongPasswordsCanBeScrolledToTheirEnds) {
    Window w;
    w.window.chkVarLen->setChecked(false);
    w.window.txtMaxLen->setText("8");
    w.Run(10);  // the first run of short ones fills the empty list
    w.window.txtMaxLen->setText("128");
    w.Run(10);  // the second appends long ones
    QFontMetricsF metrics(w.list()->font());
    qreal widest = 0;
    for (QTextBlock b = w.list()->document()->firstBlock(); b.isValid(); b = b.next())
        widest = std::max(widest, metrics.horizontalAdvance(b.text()));
    QScrollBar* sideways = w.list()->horizontalScrollBar();
    EXPECT_GE(sideways->maximum() + w.list()->viewport()->width(), static_cast<int>(widest));
}
