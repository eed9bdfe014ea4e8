#include "app/strength_bar.h"

#include <QTimer>

#include "app/generation_strip.h"
#include "app/main_window.h"
#include "options/strength_line.h"
#include "platform/qt_text.h"

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
    MainWindow& w = *window_;
    OptionValues values;
    values.letters = w.chkLetter->isChecked();
    values.upper = w.chkUpper->isChecked();
    values.lower = w.chkLower->isChecked();
    values.numbers = w.chkNumber->isChecked();
    values.special = w.chkSpecial->isChecked();
    values.other_in = w.chkOtherIn->isChecked();
    values.other_in_text = FromQt(w.txtOtherIn->text());
    values.min_length = FromQt(w.txtMinLen->text());
    values.max_length = FromQt(w.txtMaxLen->text());
    values.count = FromQt(w.txtNum->text());
    PoolChoice pool;
    pool.spaces = !w.chkSpace->isChecked();
    pool.special = values.special;
    pool.numbers = values.numbers;
    pool.upper = values.upper;
    pool.lower = values.lower;
    pool.other_in = values.other_in;
    pool.other_in_text = values.other_in_text;
    pool.look_alikes_out = w.chkAlike->isChecked();
    pool.other_out = w.chkOtherOut->isChecked();
    pool.other_out_text = FromQt(w.txtOtherOut->text());
    StrengthLine strength = DescribeStrength(values, pool, w.chkVarLen->isChecked(), w.generationStrip->Choice());
    const QString text = ToQt(strength.text);
    const bool changed = text != line_->text();
    line_->setText(text);
    QPalette p = line_->palette();
    p.setColor(QPalette::WindowText, ColorOf(strength.level));
    line_->setPalette(p);
    if (changed) emit LineChanged(text);
}

}  // namespace morvane
