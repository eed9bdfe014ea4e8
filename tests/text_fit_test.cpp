// Every text shows whole in its control, in the fonts this machine has, at
// the scale the tests run with (96 dpi, and 120 and 144 through
// QT_SCALE_FACTOR in their own runs).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QThreadPool>
#include <algorithm>
#include <map>
#include <set>

#include "about/frm_about.h"
#include "app/main_window.h"
#include "app/strength_bar.h"
#include "platform/qt/artwork.h"
#include "app/mod_main.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_text_fit.h"
#include "tests/modal_driver.h"
#include "tests/doubles/scripted_message_box.h"

using namespace morvane;

namespace {

void ExpectAllTextsFit(QWidget* root) {
    int checked = 0;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (w->isHidden() || w->window() != root) continue;
        TextRoom room = RoomFor(w);
        if (room.available.isEmpty() && room.needed.isEmpty()) continue;
        ++checked;
        QString text = w->property("text").toString() + w->property("title").toString();
        EXPECT_TRUE(room.Fits()) << w->metaObject()->className() << " \"" << text.toStdString() << "\" needs "
                                 << room.needed.width() << "x" << room.needed.height() << ", has "
                                 << room.available.width() << "x" << room.available.height();
        EXPECT_TRUE(CaptionClearsControls(w)) << "caption \"" << text.toStdString() << "\" sits on a control";
        if (auto* field = qobject_cast<QLineEdit*>(w); field && field->isReadOnly()) {
            EXPECT_EQ(field->cursorPosition(), 0) << text.toStdString();
        }
    }
    EXPECT_GT(checked, 5);
}

}  // namespace

TEST(TextFit, EveryTextOfTheMainWindowShowsWhole) {
    ScriptedMessageBox box;
    MainWindow window(box);
    window.form().Form_Load();
    window.show();
    window.Generate();
    QApplication::processEvents();
    ExpectAllTextsFit(&window);
}

TEST(TextFit, EveryNumberFieldShowsItsWholeValueAtItsBound) {
    ScriptedMessageBox box;
    MainWindow window(box);
    window.form().Form_Load();
    window.show();
    window.txtMinLen->setText("128");
    window.txtMaxLen->setText("128");
    window.txtNum->setText("2147483647");
    for (QLineEdit* field : {window.txtMinLen, window.txtMaxLen, window.txtNum}) field->setCursorPosition(0);
    QApplication::processEvents();
    ExpectAllTextsFit(&window);
}

// Pointing at a profile puts its tip in the status bar, which draws one
// line and cuts what does not fit.
TEST(TextFit, EveryProfilesTipInTheStatusBarShowsWhole) {
    ScriptedMessageBox box;
    MainWindow window(box);
    window.Start();
    window.show();
    QThreadPool::globalInstance()->waitForDone(60'000);
    QApplication::processEvents();
    const QFontMetrics bar(window.strengthBar->font());
    int tips = 0;
    for (QAction* entry : window.findChildren<QAction*>()) {
        if (!entry->objectName().startsWith("mnuProfile_")) continue;
        ++tips;
        EXPECT_FALSE(entry->statusTip().contains("..."));
        EXPECT_LE(bar.horizontalAdvance(entry->statusTip()), window.strengthBar->width() - 12)
            << entry->statusTip().toStdString();
    }
    EXPECT_GE(tips, 3);
}

// The desktop draws the title over the box in its own bold face, with its
// buttons beside it: the box leaves room for both.
TEST(TextFit, AMessageBoxIsWideEnoughForItsWholeTitle) {
    ScriptedMessageBox scripted;
    MainWindow window(scripted);
    window.show();
    QtMessageBox real(&window);
    const std::string title = "INPUT ERROR: Insufficient characters.";
    int width = 0, title_width = 0;
    WhenModal<QMessageBox>([&](QMessageBox* shown) {
        QFont bold = shown->font();
        bold.setBold(true);
        title_width = QFontMetrics(bold).horizontalAdvance(QString::fromStdString(title));
        width = shown->width();
        shown->button(QMessageBox::Ok)->click();
    });
    real.Show("Too few characters to choose from.", kOkOnly, title);
    EXPECT_GE(width, title_width + 6 * QFontMetrics(window.font()).height()) << "title " << title_width;
}

TEST(TextFit, EveryTextOfTheAboutBoxShowsWholeFromItsFirstCharacter) {
    ScriptedMessageBox box;
    Registry registry;
    frmAbout about(nullptr, AboutServices{&box, nullptr, &registry, {}});
    about.show();
    QApplication::processEvents();
    ExpectAllTextsFit(&about);
    EXPECT_EQ(about.txtEmail->text().toStdString(), kSupportEmail);
}

TEST(ExitButton, IsFlatDarkRedWithWhiteBoldTextInEveryState) {
    ScriptedMessageBox box;
    MainWindow window(box);
    window.form().Form_Load();
    window.show();
    QApplication::processEvents();
    auto dominant = [](const QImage& image) {
        std::map<QRgb, int> counts;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y) & 0xFFFFFF];
        return std::max_element(counts.begin(), counts.end(),
                                [](auto& a, auto& b) { return a.second < b.second; })->first;
    };
    auto shades = [](const QImage& image) {  // how many different reds fill the face
        std::set<QRgb> reds;
        for (int y = 3; y < image.height() - 3; ++y) {
            QRgb p = image.pixel(3, y) & 0xFFFFFF;
            if (qGreen(p) < 64) reds.insert(p);
        }
        return reds.size();
    };
    auto has_white_text = [](const QImage& image) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 4; x < image.width() - 4; ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF) return true;
        return false;
    };
    QPushButton* exit = window.cmdExit;
    EXPECT_TRUE(exit->font().bold());
    for (const char* state : {"plain", "focused", "pressed"}) {
        SCOPED_TRACE(state);
        if (std::string(state) == "focused") exit->setFocus();
        if (std::string(state) == "pressed") exit->setDown(true);
        QApplication::processEvents();
        QImage face = exit->grab().toImage();
        EXPECT_EQ(dominant(face), qRgb(192, 0, 0) & 0xFFFFFF);
        EXPECT_EQ(shades(face), 1u) << "a gradient, not a flat face";
        EXPECT_TRUE(has_white_text(face));
    }
    exit->setDown(false);
}

TEST(Artwork, ComesFromTheProgramsResourcesAtItsSizes) {
    EXPECT_FALSE(ProgramIcon().isNull());
    EXPECT_EQ(ProgramIcon().pixmap(64, 64).size(), QSize(64, 64));
    EXPECT_EQ(LogoPixmap().size(), QSize(215, 80));
    EXPECT_EQ(PointingHandCursor().pixmap().size(), QSize(32, 32));
    for (int position = 1; position <= 14; ++position) {
        QPixmap image = ToolbarImage(position);
        EXPECT_EQ(image.size(), QSize(16, 16)) << position;
        QImage pixels = image.toImage();
        int drawn = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) drawn += qAlpha(pixels.pixel(x, y)) > 128;
        EXPECT_GT(drawn, 10) << position;  // a picture, not an empty square
    }
}
