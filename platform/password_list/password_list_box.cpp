#include "platform/password_list/password_list_box.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>

#include "platform/base/process_guard.h"
#include "platform/base/runtime_error.h"
#include "platform/password_list/list_layout.h"
#include "platform/password_list/whole_text_step.h"
#include "platform/qt/qt_text.h"

namespace morvane {
namespace {

bool IsSeparator(QChar c) {
    return c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == u'\n';
}

// Walks the CR LF text forwards, turning ascending positions of it into
// positions in the document and back: a CR LF is one paragraph break there,
// a character beyond 16 bits two units.
struct TextWalk {
    const Text& text;
    size_t t = 0;
    int q = 0;
    void Step() {
        if (text[t] == U'\r' && t + 1 < text.size() && text[t + 1] == U'\n') {
            t += 2;
            q += 1;
        } else {
            q += text[t] > 0xFFFF ? 2 : 1;
            t += 1;
        }
    }
    // The document position for a position of the text; a position between
    // the CR and the LF of a break counts as behind it.
    int To(int position) {
        const size_t end = std::min(text.size(), static_cast<size_t>(std::max(position, 0)));
        while (t < end) Step();
        return q;
    }
    // The text position for a position of the document.
    int From(int document_position) {
        while (t < text.size() && q < document_position) Step();
        return static_cast<int>(t);
    }
};

// Appends the CR LF text of `raw` to `out`; tells whether `raw` holds a
// surrogate pair.
bool AppendCrLfText(Text& out, const QString& raw) {
    qsizetype breaks = 0;
    bool pairs = false;
    for (QChar c : raw) {
        breaks += IsSeparator(c);
        pairs = pairs || c.isHighSurrogate();
    }
    const size_t at = out.size();
    out.resize(at + static_cast<size_t>(raw.size() + breaks));
    char32_t* o = out.data() + at;
    const QChar* p = raw.constData();
    const QChar* end = p + raw.size();
    for (; p != end; ++p) {
        if (IsSeparator(*p)) {
            *o++ = U'\r';
            *o++ = U'\n';
        } else if (p->isHighSurrogate() && p + 1 != end && p[1].isLowSurrogate()) {
            *o++ = QChar::surrogateToUcs4(p[0], p[1]);
            ++p;
        } else {
            *o++ = p->unicode();
        }
    }
    out.resize(static_cast<size_t>(o - out.data()));
    return pairs;
}

Text ToCrLfText(const QString& raw) {
    Text out;
    AppendCrLfText(out, raw);
    return out;
}

}  // namespace

void AppendDocumentText(QString& out, std::u32string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c == U'\r') {
            out += u'\n';
            if (i + 1 < text.size() && text[i + 1] == U'\n') ++i;
        } else if (c < 0x10000) {
            out += QChar(static_cast<char16_t>(c));
        } else {
            out += QChar(QChar::highSurrogate(c));
            out += QChar(QChar::lowSurrogate(c));
        }
    }
}

QString ToDocumentText(const Text& text) {
    QString out;
    AppendDocumentText(out, text);
    return out;
}

// --- rich-text list

QtRichTextBox::QtRichTextBox(QTextEdit* edit) : edit_(edit) {
    RelayFocus(edit, this);
    edit->setAcceptRichText(false);
    UseListLayout();
    QObject::connect(edit->document(), &QTextDocument::contentsChange, edit,
                     [this](int position, int removed, int added) {
                         if (!removed && !added) return;
                         // The program's own writes keep the text themselves; an edit of the
                         // user's is carried into it, so that reading the list after a
                         // keystroke does not convert a million lines again.
                         if (writing_ || !UpdateKeptText(position, removed, added)) cache_valid_ = false;
                     });
    QObject::connect(edit, &QTextEdit::textChanged, edit, [this] {
        if (writing_) return;
        plain_ = false;  // the user's own edit
        if (Change) Change();
    });
}

const Text& QtRichTextBox::CachedText() const {
    Flush();
    if (!cache_valid_) {
        QString raw = edit_->document()->toRawText();
        Wipe(cache_);
        surrogates_ = AppendCrLfText(cache_, raw);
        WipeQString(raw);
        cache_valid_ = true;
    }
    return cache_;
}

bool QtRichTextBox::UpdateKeptText(int position, int removed, int added) {
    if (!cache_valid_ || surrogates_ || !pending_.isEmpty()) return false;
    QTextDocument* document = edit_->document();
    if (position < 0 || position + added > document->characterCount() - 1) return false;
    // The paragraph breaks before the change are as they were: one document
    // position each, two (CR LF) in the text.
    const size_t from = static_cast<size_t>(position) + static_cast<size_t>(document->findBlock(position).blockNumber());
    size_t to = from;
    for (int unit = 0; unit < removed; ++unit) {
        if (to >= cache_.size()) return false;
        to += cache_[to] == U'\r' && to + 1 < cache_.size() && cache_[to + 1] == U'\n' ? 2 : 1;
    }
    QTextCursor inserted(document);
    inserted.setPosition(position);
    inserted.setPosition(position + added, QTextCursor::KeepAnchor);
    QString raw = inserted.selectedText();
    Text piece;
    if (AppendCrLfText(piece, raw)) surrogates_ = true;
    cache_.replace(from, to - from, piece);
    Wipe(piece);
    WipeQString(raw);
    return true;
}

Text QtRichTextBox::GetText() const { return CachedText(); }

int QtRichTextBox::TextLength() const { return static_cast<int>(CachedText().size()); }

// Each paragraph break is one position in the document and two (CR LF) in
// the text; without surrogate pairs that is all that tells them apart.
int QtRichTextBox::ToTextPosition(int document_position) const {
    const Text& text = CachedText();
    if (surrogates_) return TextWalk{text}.From(document_position);
    QTextDocument* document = edit_->document();
    const int last = document->characterCount() - 1;  // the final paragraph's end
    document_position = std::clamp(document_position, 0, last);
    return document_position + document->findBlock(document_position).blockNumber();
}

int QtRichTextBox::ToDocumentPosition(int text_position) const {
    const Text& text = CachedText();
    if (surrogates_) return TextWalk{text}.To(text_position);
    QTextDocument* document = edit_->document();
    text_position = std::clamp(text_position, 0, static_cast<int>(text.size()));
    // The last paragraph that starts at or before the position.
    int low = 0, high = document->blockCount() - 1;
    while (low < high) {
        int middle = (low + high + 1) / 2;
        QTextBlock b = document->findBlockByNumber(middle);
        if (b.position() + middle <= text_position) low = middle;
        else high = middle - 1;
    }
    QTextBlock block = document->findBlockByNumber(low);
    int offset = text_position - (block.position() + low);
    // A position between the CR and the LF of a break counts as behind it.
    if (offset > block.length() - 1) return block.position() + block.length();
    return block.position() + offset;
}

void QtRichTextBox::SetText(const Text& text) {
    Flush();
    if (CachedText() == text) return;
    writing_ = true;
    if (!listed_) {
        // Plain text in one format again: the list layout fits it.
        edit_->document()->clear();
        UseListLayout();
    }
    QString document_text = ToDocumentText(text);
    edit_->setPlainText(document_text);
    Wipe(cache_);
    surrogates_ = AppendCrLfText(cache_, document_text);
    WipeQString(document_text);
    WipeReleasedSmallBlocks();  // the pieces of the text it held
    cache_valid_ = true;
    writing_ = false;
    plain_ = true;
    if (Change) Change();
}

void QtRichTextBox::AppendText(const Text& text) {
    if (text.empty()) return;
    if (pending_.isEmpty()) QTimer::singleShot(0, edit_, [this] { Flush(); });
    AppendDocumentText(pending_, text);
    if (Change) Change();
}

void QtRichTextBox::Flush() const {
    if (pending_.isEmpty()) return;
    auto* self = const_cast<QtRichTextBox*>(this);
    self->writing_ = true;
    // A selection that reaches the end would take in the new lines: it is
    // put back as it was, without moving the view.
    const QTextCursor user = edit_->textCursor();
    const int anchor = user.anchor(), position = user.position();
    QTextDocument* document = edit_->document();
    // Appends to a list nobody has edited stay out of the undo history,
    // which then holds nothing but earlier appends.
    const bool quiet = plain_ && document->isUndoRedoEnabled();
    if (quiet) document->setUndoRedoEnabled(false);
    // The text kept for reading grows by the same lines, so reading the
    // list after a run does not convert it all again.
    const bool extend = ReadyKeptTextForAppends();
    QTextCursor end(document);
    end.movePosition(QTextCursor::End);
    auto* list_layout = listed_ ? dynamic_cast<ListLayout*>(document->documentLayout()) : nullptr;
    if (list_layout) list_layout->ExpectAppend(&pending_);
    end.insertText(pending_);
    if (list_layout) list_layout->ExpectAppend(nullptr);
    if (extend) {
        surrogates_ = AppendCrLfText(cache_, pending_) || surrogates_;
        cache_valid_ = true;
    }
    WipeQString(pending_);
    if (quiet) document->setUndoRedoEnabled(true);
    if (anchor != position && (edit_->textCursor().anchor() != anchor ||
                               edit_->textCursor().position() != position)) {
        QScrollBar* bars[] = {edit_->verticalScrollBar(), edit_->horizontalScrollBar()};
        const int v = bars[0]->value(), h = bars[1]->value();
        QTextCursor kept(document);
        kept.setPosition(anchor);
        kept.setPosition(position, QTextCursor::KeepAnchor);
        edit_->setTextCursor(kept);
        bars[0]->setValue(v);
        bars[1]->setValue(h);
    }
    self->writing_ = false;
}

void QtRichTextBox::ExpectAppends(int64_t characters) {
    constexpr int64_t kMostAtOnce = int64_t{64} << 20;  // beyond that the text grows as it goes
    if (characters <= 0) return;
    Flush();
    if (ReadyKeptTextForAppends())
        cache_.reserve(cache_.size() + static_cast<size_t>(std::min(characters, kMostAtOnce)));
}

bool QtRichTextBox::ReadyKeptTextForAppends() const {
    if (!cache_valid_) {
        Wipe(cache_);
        surrogates_ = false;
        cache_valid_ = edit_->document()->isEmpty();  // an empty list reads as empty
    }
    return cache_valid_;
}

void QtRichTextBox::UseListLayout() {
    if (listed_) return;
    QTextDocument* document = edit_->document();
    auto* layout = new ListLayout(document);
    layout->setPaintDevice(edit_->viewport());
    layout->NoLongerFits = [this] { QTimer::singleShot(0, edit_, [this] { UseQtLayout(); }); };
    listed_ = true;
    document->setDocumentLayout(layout);
}

void QtRichTextBox::UseQtLayout() {
    if (!listed_) return;
    listed_ = false;
    QTextDocument* document = edit_->document();
    document->setDocumentLayout(nullptr);  // Qt's own layout takes over
    QAbstractTextDocumentLayout* layout = document->documentLayout();
    layout->setPaintDevice(edit_->viewport());
    // Qt lays out a long document in the background in ever larger pieces,
    // and stalls in such a piece once the document grows taller than 2^23
    // pixels (a list of some 600,000 lines). So the whole of it is laid out
    // here in small pieces, the window repainting in between, while Qt's
    // own steps are held back.
    struct HoldTimers : QObject {
        bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Timer; }
    } hold;
    layout->installEventFilter(&hold);
    const QPointer<QAbstractTextDocumentLayout> still(layout);  // the list may be set anew meanwhile
    PendingEvents pending;
    constexpr int kPiece = 20000;  // characters, some milliseconds' work
    for (int position = 0; still && position < document->characterCount(); position += kPiece) {
        layout->blockBoundingRect(document->findBlock(position));
        pending.Handle();
    }
    if (!still) return;
    layout->blockBoundingRect(document->lastBlock());
    layout->removeEventFilter(&hold);
}

void QtRichTextBox::ReplaceRanges(const std::vector<TextRange>& ranges, const Text& text) {
    if (ranges.empty()) return;
    Flush();
    PendingEvents pending;
    const QString replacement = ToDocumentText(text);
    // The text as it reads afterwards, and for a list in more than one
    // format the document positions of every range's ends, found in one walk.
    const Text& before = CachedText();
    Text replaced_text = ToCrLfText(replacement);
    Text after;
    after.reserve(before.size() + ranges.size() * replaced_text.size());
    std::vector<std::pair<int, int>> spans;
    if (!listed_) spans.reserve(ranges.size());
    TextWalk walk{before};
    size_t read = 0;
    for (size_t i = 0; i < ranges.size(); ++i) {
        const TextRange& r = ranges[i];
        if (i % 4096 == 0) pending.Handle();
        if (!listed_) {
            const int a = walk.To(r.start);
            spans.emplace_back(a, walk.To(r.start + r.length));
        }
        after.append(before, read, static_cast<size_t>(r.start) - read);
        after += replaced_text;
        read = static_cast<size_t>(r.start + r.length);
    }
    after.append(before, std::min(read, before.size()));
    plain_ = false;
    writing_ = true;
    if (listed_) {
        // A list in one format: its whole text is set anew in one step that
        // undo takes back, instead of a million small edits.
        WholeTextStep::Apply(edit_->document(), std::move(cache_), after);
    } else {
        QTextCursor cursor(edit_->document());
        ReplaceEach(cursor, spans, replacement, pending);
    }
    cache_ = std::move(after);
    surrogates_ = surrogates_ || std::any_of(replaced_text.begin(), replaced_text.end(),
                                             [](char32_t c) { return c > 0xFFFF; });
    cache_valid_ = true;
    writing_ = false;
    if (Change) Change();
}

void QtRichTextBox::ReplaceEach(QTextCursor& cursor, const std::vector<std::pair<int, int>>& spans,
                                const QString& replacement, PendingEvents& pending) {
    cursor.beginEditBlock();
    // From the end backwards, so the positions still ahead stay valid. Each
    // insertion takes the format of the text it replaces. A long list
    // repaints now and then on the way.
    size_t done = 0;
    for (auto it = spans.rbegin(); it != spans.rend(); ++it) {
        if (++done % 256 == 0) pending.Handle();
        cursor.setPosition(it->first);
        cursor.setPosition(it->second, QTextCursor::KeepAnchor);
        cursor.insertText(replacement);
    }
    cursor.endEditBlock();
}

void QtRichTextBox::Select(int start, int length) {
    int a = ToDocumentPosition(start);
    int b = ToDocumentPosition(start + length);
    QTextCursor cursor(edit_->document());
    cursor.setPosition(a);
    cursor.setPosition(b, QTextCursor::KeepAnchor);
    edit_->setTextCursor(cursor);
}

int QtRichTextBox::SelStart() const { return ToTextPosition(edit_->textCursor().selectionStart()); }

void QtRichTextBox::SetSelStart(int start) {
    if (start < 0) throw InvalidCallError();
    Select(start, 0);
}

int QtRichTextBox::SelLength() const {
    QTextCursor c = edit_->textCursor();
    return ToTextPosition(c.selectionEnd()) - ToTextPosition(c.selectionStart());
}

void QtRichTextBox::SetSelLength(int length) {
    if (length < 0) throw InvalidCallError();
    Select(SelStart(), length);
}

Text QtRichTextBox::SelText() const {
    Flush();
    return ToCrLfText(edit_->textCursor().selectedText());
}

void QtRichTextBox::SetSelText(const Text& text) {
    Flush();
    plain_ = false;
    writing_ = true;
    QTextCursor c = edit_->textCursor();
    c.insertText(ToDocumentText(text));
    edit_->setTextCursor(c);
    writing_ = false;
    if (Change) Change();
}

Rgb QtRichTextBox::ForeColor() const { return TextColor(edit_); }

void QtRichTextBox::SetForeColor(Rgb color) { SetTextColor(edit_, color); }

FontSpec QtRichTextBox::SelFont() const {
    Flush();
    QTextCharFormat format = edit_->textCursor().charFormat();
    // What the text does not set itself it takes from the list's face.
    FontSpec spec = FromQFont(format.font().resolve(edit_->document()->defaultFont()));
    if (format.hasProperty(QTextFormat::ForegroundBrush)) {
        QColor c = format.foreground().color();
        spec.color = {c.red(), c.green(), c.blue()};
    }
    return spec;
}

void QtRichTextBox::SetSelFont(const FontSpec& spec) {
    Flush();
    plain_ = false;
    QTextCharFormat format;
    format.setFont(ToQFont(spec));
    format.setForeground(QColor(spec.color.r, spec.color.g, spec.color.b));
    writing_ = true;
    QTextCursor c = edit_->textCursor();
    if (c.hasSelection()) c.mergeCharFormat(format);
    edit_->mergeCurrentCharFormat(format);
    writing_ = false;
}

int QtRichTextBox::SelAlignment() const {
    Flush();
    Qt::Alignment a = edit_->textCursor().blockFormat().alignment();
    if (a & Qt::AlignHCenter) return kAlignCenter;
    if (a & Qt::AlignRight) return kAlignRight;
    return kAlignLeft;
}

void QtRichTextBox::SetSelAlignment(int alignment) {
    Flush();
    plain_ = false;
    writing_ = true;
    edit_->setAlignment(alignment == kAlignCenter  ? Qt::AlignHCenter
                        : alignment == kAlignRight ? Qt::AlignRight
                                                   : Qt::AlignLeft);
    writing_ = false;
}

}  // namespace morvane
