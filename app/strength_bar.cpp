#include "app/strength_bar.h"

#include <QTimer>

#include "app/generation_strip.h"
#include "app/main_window.h"
#include "options/strength_line.h"
#include "platform/qt/qt_text.h"

namespace morvane {
namespace {

QColor ColorOf(StrengthLevel level) {
    switch (level) {
        case StrengthLevel::kPoor: return QColor(200, 0, 0);
        case StrengthLevel::kWeak: return QColor(224, 112, 0);
        case StrengthLevel::kGood: return QColor(0, 160, 0);
        case StrengthLevel::kExcellent: return QColor(0, 96, 0);
        case StrengthLevel::kNone: break;
    }
    return QColor(64, 64, 64);
}

}  // namespace

StrengthBar::StrengthBar(MainWindow* window) : QStatusBar(window), window_(window) {
    setSizeGripEnabled(false);
    line_ = new QLabel(this);
    line_->setObjectName("strengthLine");
    addWidget(line_, 1);
    for (QCheckBox* box : window->findChildren<QCheckBox*>())
        connect(box, &QCheckBox::toggled, this, &StrengthBar::Schedule);
    for (QLineEdit* field : {window->txtOtherIn, window->txtOtherOut, window->txtMinLen, window->txtMaxLen,
                             window->txtNum})
        connect(field, &QLineEdit::textChanged, this, &StrengthBar::Schedule);
    connect(window->generationStrip, &GenerationStrip::Changed, this, &StrengthBar::Schedule);
    Refresh();
}

// Several changes in a row (a rule that moves other boxes, a key held down)
// are counted once, after the window has taken them all in.
void StrengthBar::Schedule() {
    if (scheduled_) return;
    scheduled_ = true;
    QTimer::singleShot(0, this, [this] { Refresh(); });
}

void StrengthBar::Refresh() {
    scheduled_ = false;
    const frmMain::SettingsAsEntered entered = window_->form().ReadEntries();
    const StrengthLine strength = entered.settings ? DescribeStrength(*entered.settings) : NoPasswordLine(entered.why_none);
    const QString text = ToQt(strength.text);
    const bool changed = text != line_->text();
    line_->setText(text);
    QPalette p = line_->palette();
    p.setColor(QPalette::WindowText, ColorOf(strength.level));
    line_->setPalette(p);
    if (changed) emit LineChanged(text);
}

}  // namespace morvane
