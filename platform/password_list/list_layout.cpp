#include "platform/password_list/list_layout.h"

#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace morvane {
namespace {

// Lines are never broken: a line takes all the room it needs.
constexpr qreal kUnbounded = 1e6;
// The width is measured in steps of so many characters (about a
// millisecond's work), for at most so many milliseconds at once.
constexpr int kMeasureStep = 20000;
constexpr int kMeasureMilliseconds = 5;
// A change of up to so many characters is measured at once.
constexpr int kMeasureAtOnce = 500000;

// Which state of the document a paragraph's layout shows. The document's
// revision cannot tell: it stands still while undo is off, as it is for a
// run's appends.
struct LaidOut : QTextBlockUserData {
    unsigned generation = 0;
};

bool IsLineSeparator(QChar c) { return c == QChar::LineSeparator; }

}  // namespace

ListLayout::ListLayout(QTextDocument* document) : QAbstractTextDocumentLayout(document) {
    // An edit tells its range here first; fonts and options changed alone
    // reach documentChanged without it.
    connect(document, &QTextDocument::contentsChange, this, [this] { contents_changed_ = true; });
}

QFont ListLayout::Font() const {
    const QTextBlock first = document()->begin();
    QTextCharFormat format = first.charFormat();
    if (QTextBlock::iterator it = first.begin(); !it.atEnd()) format = it.fragment().charFormat();
    return format.font().resolve(document()->defaultFont());
}

qreal ListLayout::Margin() const { return document()->documentMargin(); }

qreal ListLayout::LineHeight() const {
    if (line_height_ <= 0) {
        QTextLayout probe(QStringLiteral("Xg"), Font(), paintDevice());
        probe.beginLayout();
        QTextLine line = probe.createLine();
        probe.endLayout();
        line_height_ = std::max<qreal>(1, std::ceil(line.height()));
    }
    return line_height_;
}

qreal ListLayout::Advance(char32_t c) const {
    if (c < 0x10000 && !advances_.empty() && advances_[c] >= 0) return advances_[c];
    if (c >= 0x10000) {
        if (auto it = far_advances_.find(c); it != far_advances_.end()) return it->second;
    }
    QFontMetricsF metrics(Font(), paintDevice());
    const char32_t one[] = {c};
    const float advance = static_cast<float>(metrics.horizontalAdvance(QString::fromUcs4(one, 1)));
    if (c >= 0x10000) {
        far_advances_[c] = advance;
    } else {
        if (advances_.empty()) advances_.assign(0x10000, -1.0f);
        advances_[c] = advance;
    }
    return advance;
}

qreal ListLayout::WidestIn(const QString& text) const {
    const qreal tab = document()->defaultTextOption().tabStopDistance();
    qreal widest = 0, width = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        // Text about to be appended breaks its paragraphs with LF.
        if (c == QChar::ParagraphSeparator || c == u'\n' || IsLineSeparator(c)) {
            widest = std::max(widest, width);
            width = 0;
        } else if (c == u'\t' && tab > 0) {
            width = (std::floor(width / tab) + 1) * tab;
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            width += Advance(QChar::surrogateToUcs4(c, text.at(i + 1)));
            ++i;
        } else {
            width += Advance(c.unicode());
        }
    }
    return std::max(widest, width);
}

void ListLayout::ForgetMeasures() {
    line_height_ = 0;
    advances_.clear();
    far_advances_.clear();
}

int ListLayout::Measure(int from, int count) {
    QTextDocument* doc = document();
    const int end = doc->characterCount() - 1;
    from = std::clamp(from, 0, end);
    QTextCursor range(doc);
    range.setPosition(doc->findBlock(from).position());
    const QTextBlock last = doc->findBlock(std::clamp(from + count, from, end));
    const int after = last.position() + last.length() - 1;
    range.setPosition(after, QTextCursor::KeepAnchor);
    const QString text = range.selectedText();
    widest_ = std::max(widest_, WidestIn(text));
    bool fits = std::none_of(text.cbegin(), text.cend(), IsLineSeparator);
    // Every paragraph and every piece of text in the formats of the first.
    // Only a new format in the document can break that, so the paragraphs
    // are looked at only once one has come, until all is measured.
    const auto formats = doc->allFormats().size();
    if (formats != formats_seen_) {
        formats_seen_ = formats;
        checking_ = true;
    }
    for (QTextBlock block = doc->findBlock(from); checking_ && fits && block.isValid(); block = block.next()) {
        if (block_format_ < 0) block_format_ = block.blockFormatIndex();
        fits = block.blockFormatIndex() == block_format_;
        for (QTextBlock::iterator it = block.begin(); fits && !it.atEnd(); ++it) {
            if (char_format_ < 0) char_format_ = it.fragment().charFormatIndex();
            fits = it.fragment().charFormatIndex() == char_format_;
        }
        if (block == last) break;
    }
    if (fits && block_format_ >= 0) {
        const Qt::Alignment alignment = doc->begin().blockFormat().alignment();
        fits = !(alignment & (Qt::AlignRight | Qt::AlignHCenter | Qt::AlignJustify));
    }
    if (!fits && !told_) {
        told_ = true;
        if (NoLongerFits) NoLongerFits();
    }
    return after + 1;
}

void ListLayout::MeasureQueued() {
    int budget = kMeasureAtOnce;
    QElapsedTimer clock;
    clock.start();
    while (!queue_.empty() && budget > 0 && clock.elapsed() < kMeasureMilliseconds) {
        auto& [from, to] = queue_.front();
        const int count = std::min({to - from, budget, kMeasureStep});
        budget -= count;
        from = Measure(from, count);
        if (from >= to || from >= document()->characterCount()) queue_.erase(queue_.begin());
    }
    if (queue_.empty()) checking_ = false;
}

void ListLayout::ReportSize() {
    const QSizeF size = documentSize();
    if (size == reported_) return;
    reported_ = size;
    emit documentSizeChanged(size);
}

void ListLayout::MeasureLater() {
    MeasureQueued();
    ReportSize();
    if (!queue_.empty()) QTimer::singleShot(0, this, [this] { MeasureLater(); });
}

// The lines a change touched are measured for the document's width: a few
// at once, many a piece at a time at the window's next turns. A removal
// may take the widest line, but the width is kept until the whole text is
// set anew, since measuring every line again would stall a long list.
void ListLayout::documentChanged(int from, int /*removed*/, int added) {
    QTextDocument* doc = document();
    const int length = doc->characterCount();
    if (!contents_changed_) {
        // The text is as it was: fonts or options changed.
        ForgetMeasures();
        from = 0;
        added = length;
    }
    contents_changed_ = false;
    ++generation_;  // what shows is laid out anew, a screenful at most
    const bool all_new = from == 0 && added >= length - 1;
    if (all_new) {
        // All of it is new, maybe in a new font that sets the lines' height.
        ForgetMeasures();
        widest_ = 0;
        queue_.clear();
        block_format_ = char_format_ = -1;
        formats_seen_ = 0;
    }
    if (coming_ && !all_new && added == coming_->size() && queue_.empty() &&
        doc->allFormats().size() == formats_seen_) {
        // Text appended in the formats already there, and given beforehand:
        // measured from that text instead of being read back.
        widest_ = std::max(widest_, WidestIn(*coming_));
        if (std::any_of(coming_->cbegin(), coming_->cend(), IsLineSeparator) && !told_) {
            told_ = true;
            if (NoLongerFits) NoLongerFits();
        }
        ReportSize();
        emit update();
        return;
    }
    const bool waiting = !queue_.empty();
    queue_.emplace_back(from, from + added);
    if (!waiting) MeasureQueued();
    if (!queue_.empty() && !waiting) QTimer::singleShot(0, this, [this] { MeasureLater(); });
    ReportSize();
    emit update();
}

QSizeF ListLayout::documentSize() const {
    const qreal margin = Margin();
    return {2 * margin + std::ceil(widest_) + 1, 2 * margin + document()->blockCount() * LineHeight()};
}

QRectF ListLayout::frameBoundingRect(QTextFrame*) const { return {QPointF(0, 0), documentSize()}; }

QTextLayout* ListLayout::Prepare(const QTextBlock& block) const {
    QTextLayout* layout = block.layout();
    auto* stamp = static_cast<LaidOut*>(block.userData());
    if (!stamp || stamp->generation != generation_ || layout->lineCount() == 0) {
        QTextOption option = document()->defaultTextOption();
        option.setWrapMode(QTextOption::ManualWrap);
        option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
        option.setTextDirection(block.textDirection());
        layout->setTextOption(option);
        layout->beginLayout();
        qreal y = 0;
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLineWidth(kUnbounded);
            line.setPosition(QPointF(0, y));
            y += LineHeight();
        }
        layout->endLayout();
        if (!stamp) {
            stamp = new LaidOut;
            QTextBlock(block).setUserData(stamp);
        }
        stamp->generation = generation_;
    }
    layout->setPosition(QPointF(Margin(), Margin() + block.blockNumber() * LineHeight()));
    return layout;
}

QRectF ListLayout::blockBoundingRect(const QTextBlock& block) const {
    if (!block.isValid()) return {};
    const QTextLayout* layout = Prepare(block);
    const qreal width = layout->lineCount() > 0 ? layout->lineAt(0).naturalTextWidth() : 0;
    return {layout->position(), QSizeF(width, LineHeight())};
}

int ListLayout::hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const {
    QTextDocument* doc = document();
    const qreal row = std::floor((point.y() - Margin()) / LineHeight());
    const int count = doc->blockCount();
    if (accuracy == Qt::ExactHit && (row < 0 || row >= count)) return -1;
    const QTextBlock block = doc->findBlockByNumber(static_cast<int>(std::clamp<qreal>(row, 0, count - 1)));
    const QTextLayout* layout = Prepare(block);
    if (layout->lineCount() == 0) return block.position();
    const QTextLine line = layout->lineAt(0);
    const qreal x = point.x() - layout->position().x();
    if (accuracy == Qt::ExactHit && (x < 0 || x > line.naturalTextWidth())) return -1;
    return block.position() + line.xToCursor(x);
}

void ListLayout::draw(QPainter* painter, const PaintContext& context) {
    QTextDocument* doc = document();
    const qreal height = LineHeight(), margin = Margin();
    const QRectF clip = context.clip.isValid() ? context.clip : frameBoundingRect(nullptr);
    const int count = doc->blockCount();
    const int first = static_cast<int>(std::clamp<qreal>(std::floor((clip.top() - margin) / height), 0, count - 1));
    const int last = static_cast<int>(std::clamp<qreal>(std::floor((clip.bottom() - margin) / height), 0, count - 1));
    int cursor_width = 1;
    if (bool ok = false; (cursor_width = property("cursorWidth").toInt(&ok)), !ok) cursor_width = 1;
    painter->setPen(context.palette.color(QPalette::Text));
    QTextBlock block = doc->findBlockByNumber(first);
    for (int n = first; n <= last && block.isValid(); ++n, block = block.next()) {
        QTextLayout* layout = Prepare(block);
        const int start = block.position(), length = block.length();
        QList<QTextLayout::FormatRange> selections;
        for (const Selection& s : context.selections) {
            const int a = s.cursor.selectionStart() - start, b = s.cursor.selectionEnd() - start;
            if (a < length && b > 0 && b > a) {
                QTextLayout::FormatRange range;
                range.start = std::max(a, 0);
                range.length = b - range.start;
                range.format = s.format;
                selections.append(range);
            }
        }
        layout->draw(painter, QPointF(), selections, clip);
        if (context.cursorPosition >= start && context.cursorPosition < start + length)
            layout->drawCursor(painter, QPointF(), context.cursorPosition - start, cursor_width);
    }
}

}  // namespace morvane
