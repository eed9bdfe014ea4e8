#include "app/strength_bar.h"

#include <QTimer>

#include "app/generation_strip.h"
#include "app/main_window.h"
#include "options/strength_line.h"
#include "platform/qt/qt_text.h"

namespace morvane {
namespace {

// How long a keystroke waits for the count before the line says it is
// being counted, and how often it then looks whether it is done.
constexpr auto kPromptCount = std::chrono::milliseconds(100);
constexpr int kCountPoll = 50;

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
    waiting_.setInterval(kCountPoll);
    connect(&waiting_, &QTimer::timeout, this, &StrengthBar::TakeFinishedCount);
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
    emit OptionsRead();
    const frmMain::SettingsAsEntered entered = window_->form().ReadEntries();
    if (!entered.settings) return Show(NoPasswordLine(entered.why_none));
    const GenerationSettings settings = *entered.settings;
    std::future<StrengthLine> counting =
        std::async(std::launch::async, [settings] { return DescribeStrength(settings); });
    if (counting.wait_for(kPromptCount) == std::future_status::ready) {
        newest_pending_ = false;  // what is still being counted is older
        return Show(counting.get());
    }
    // A rule that takes longer to count is counted on meanwhile, and the
    // window goes on; the newest count is the one shown.
    counting_.push_back(std::move(counting));
    newest_pending_ = true;
    Show({StrengthBar::kCounting, StrengthLevel::kNone});
    waiting_.start();
}

void StrengthBar::TakeFinishedCount() {
    const auto done = [](const std::future<StrengthLine>& f) {
        return !f.valid() || f.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    };
    if (newest_pending_ && done(counting_.back())) {
        newest_pending_ = false;
        Show(counting_.back().get());
    }
    // Older counts are let finish away from the window, then dropped.
    std::erase_if(counting_, done);
    if (counting_.empty()) waiting_.stop();
}

void StrengthBar::Show(const StrengthLine& strength) {
    const QString text = ToQt(strength.Shown());
    const bool changed = text != line_->text();
    line_->setText(text);
    QPalette p = line_->palette();
    p.setColor(QPalette::WindowText, ColorOf(strength.level));
    line_->setPalette(p);
    if (changed) emit LineChanged(text);
}

}  // namespace morvane
