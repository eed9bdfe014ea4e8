#include "platform/list_layout.h"

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

// Which revision of a paragraph its layout shows, and under which fonts.
struct LaidOut : QTextBlockUserData {
    int revision = -1;
    unsigned generation = 0;
};

bool IsLineSeparator(QChar c) { return c == QChar::LineSeparator; }

}  // namespace

ListLayout::ListLayout(QTextDocument* document) : QAbstractTextDocumentLayout(document) {}

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
        if (c == QChar::ParagraphSeparator || IsLineSeparator(c)) {
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
    ++generation_;
}

// Takes in the lines that the change touched; a removal may have taken the
// widest line, so then every line is measured again.
void ListLayout::Measure(int from, int added) {
    QTextDocument* doc = document();
    QString text;
    if (from == 0 && added >= doc->characterCount()) {
        text = doc->toRawText();
        widest_ = 0;
    } else {
        QTextCursor range(doc);
        range.setPosition(doc->findBlock(from).position());
        const QTextBlock last = doc->findBlock(std::min(from + added, doc->characterCount() - 1));
        range.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
        text = range.selectedText();
    }
    widest_ = std::max(widest_, WidestIn(text));
    if (!told_ && std::any_of(text.cbegin(), text.cend(), IsLineSeparator)) {
        told_ = true;
        QTimer::singleShot(0, this, [this] {
            if (NoLongerFits) NoLongerFits();
        });
    }
}

void ListLayout::documentChanged(int from, int removed, int added) {
    const QSizeF before = documentSize();
    QTextDocument* doc = document();
    if (doc->revision() == seen_revision_) {
        // The text is as it was: fonts or options changed.
        ForgetMeasures();
        widest_ = 0;
        Measure(0, doc->characterCount());
    } else {
        seen_revision_ = doc->revision();
        if (removed > 0) Measure(0, doc->characterCount());
        else Measure(from, added);
    }
    if (documentSize() != before) emit documentSizeChanged(documentSize());
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
    if (!stamp || stamp->revision != block.revision() || stamp->generation != generation_ ||
        layout->lineCount() == 0) {
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
        stamp->revision = block.revision();
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
