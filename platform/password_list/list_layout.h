#pragma once
// A layout for a list of one-line paragraphs in one format, as the password
// list is while nobody has formatted it. Every paragraph is one line of the
// same height, so where a position sits is known without laying out what
// comes before it; a paragraph is laid out only when it is drawn or asked
// about. A million lines take no layout time and no memory beyond what
// shows, and finding the last line is as quick as finding the first.
#include <QAbstractTextDocumentLayout>
#include <functional>
#include <unordered_map>
#include <vector>

class QTextLayout;

namespace morvane {

class ListLayout : public QAbstractTextDocumentLayout {
public:
    explicit ListLayout(QTextDocument* document);

    void draw(QPainter* painter, const PaintContext& context) override;
    int hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const override;
    int pageCount() const override { return 1; }
    QSizeF documentSize() const override;
    QRectF frameBoundingRect(QTextFrame* frame) const override;
    QRectF blockBoundingRect(const QTextBlock& block) const override;

    // The text about to be appended at the end, or none: the next change
    // that adds it is measured from it rather than read back.
    void ExpectAppend(const QString* text) { coming_ = text; }

    // Called once when this layout no longer fits the document: a paragraph
    // holds a line separator and so takes two lines, or the text is no
    // longer all in one format and one left-aligned paragraph format.
    std::function<void()> NoLongerFits;

protected:
    void documentChanged(int from, int removed, int added) override;

private:
    qreal LineHeight() const;
    qreal Margin() const;
    // The paragraph laid out if it changed since, and placed at its line.
    QTextLayout* Prepare(const QTextBlock& block) const;
    // Width of the widest line among those in `text`, from the advances of
    // its characters; a separator ends a line.
    qreal WidestIn(const QString& text) const;
    qreal Advance(char32_t c) const;
    void ForgetMeasures();
    // Measures the lines from the one holding `from` to the one holding
    // `from + count`; returns the position behind the last.
    int Measure(int from, int count);
    void MeasureQueued();  // a few milliseconds' worth of the queue
    void MeasureLater();
    void ReportSize();  // tells the view when the size differs from what it was told
    QFont Font() const;

    mutable qreal line_height_ = 0;
    mutable std::vector<float> advances_;  // by code point below 0x10000; < 0 not yet measured
    mutable std::unordered_map<char32_t, float> far_advances_;
    qreal widest_ = 0;
    QSizeF reported_;
    std::vector<std::pair<int, int>> queue_;  // ranges still to measure
    bool contents_changed_ = false;
    const QString* coming_ = nullptr;
    unsigned generation_ = 1;  // grows with every change of the text, fonts or options
    bool told_ = false;
    int block_format_ = -1, char_format_ = -1;  // the formats of the first paragraph and text
    qsizetype formats_seen_ = 0;                 // formats the document had at the last look
    bool checking_ = false;                      // measuring looks at the formats too
};

}  // namespace morvane
