#pragma once
// The password list on a QTextEdit: the rich-text list control of the
// window, kept fast for a million lines (appends written at the window's
// turns, a list layout of one line a paragraph, one undo step for a whole
// replacement) and read as CR LF text.
#include <QTextEdit>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/contracts/controls.h"
#include "platform/qt/qt_controls.h"
#include "platform/qt/qt_pending_events.h"

namespace morvane {

// CR LF texts <-> the document's paragraphs: a CR LF, or a lone CR or LF,
// is one line break.
QString ToDocumentText(const Text& text);
void AppendDocumentText(QString& out, std::u32string_view text);

class QtRichTextBox : public RichTextBox {
public:
    explicit QtRichTextBox(QTextEdit* edit);
    void SetFocus() override { FocusWidget(edit_); }
    bool HasFocus() const override { return WidgetHasFocus(edit_); }
    bool Enabled() const override { return edit_->isEnabled(); }
    void SetEnabled(bool on) override { edit_->setEnabled(on); }
    Text GetText() const override;
    void SetText(const Text& text) override;
    int SelStart() const override;
    void SetSelStart(int start) override;
    int SelLength() const override;
    void SetSelLength(int length) override;
    Text SelText() const override;
    void SetSelText(const Text& text) override;
    Rgb ForeColor() const override;
    void SetForeColor(Rgb color) override;
    bool Locked() const override { return edit_->isReadOnly(); }
    void AppendText(const Text& text) override;
    int TextLength() const override;
    const Text& TextView() const override { return CachedText(); }
    void ReplaceRanges(const std::vector<TextRange>& ranges, const Text& text) override;
    FontSpec SelFont() const override;
    void SetSelFont(const FontSpec& font) override;
    int SelAlignment() const override;
    void SetSelAlignment(int alignment) override;
    QTextEdit* widget() const { return edit_; }
    // Writes appended text still held back into the document.
    void Flush() const;
    // The text kept for reading makes room for a run's lines now rather
    // than copying itself over and over as it grows, which would stall the
    // window each time.
    void ExpectAppends(int64_t characters) override;
private:
    void Select(int start, int length);
    // Whether appends extend the text kept for reading: it is up to date,
    // or the list is empty. A stale one is dropped.
    bool ReadyKeptTextForAppends() const;
    // Replaces each span from the last to the first, each insertion taking
    // the format of the text it replaces.
    void ReplaceEach(QTextCursor& cursor, const std::vector<std::pair<int, int>>& spans, const QString& replacement,
                     PendingEvents& pending);
    // The list layout (a line per paragraph, all of one height) or Qt's own
    // lays out the document.
    void UseListLayout();
    void UseQtLayout();
    // The CR LF text, kept up to date or rebuilt when read.
    const Text& CachedText() const;
    // Carries an edit of the document into the kept text; false when it
    // cannot, and the text is to be rebuilt.
    bool UpdateKeptText(int position, int removed, int added);
    int ToTextPosition(int document_position) const;
    int ToDocumentPosition(int text_position) const;
    QTextEdit* edit_;
    bool writing_ = false;
    // Appends are collected and written at once at the window's next turn,
    // or before the document is read.
    mutable QString pending_;
    mutable Text cache_;
    mutable bool cache_valid_ = false;
    mutable bool surrogates_ = false;  // the document holds characters beyond 16 bits
    // The document holds plain text that only the program put there, so
    // appends may stay out of the undo history.
    bool plain_ = true;
    bool listed_ = false;
};

}  // namespace morvane
