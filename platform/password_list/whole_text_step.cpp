#include "platform/password_list/whole_text_step.h"

#include <QTextCursor>
#include <algorithm>

#include "platform/password_list/password_list_box.h"
#include "platform/qt/qt_pending_events.h"
#include "platform/qt/qt_text.h"

namespace morvane {
namespace {

constexpr int kPiece = 65536;  // characters, some 15 to 40 ms of Qt's work

// The document text of the CR LF text from `at` on, a piece at a time;
// a CR LF is not split.
QString NextPieceOf(const Text& text, size_t& at) {
    size_t size = std::min<size_t>(kPiece, text.size() - at);
    if (at + size < text.size() && text[at + size - 1] == U'\r' && text[at + size] == U'\n') ++size;
    QString piece;
    AppendDocumentText(piece, std::u32string_view(text).substr(at, size));
    at += size;
    return piece;
}

}  // namespace

WholeTextStep::WholeTextStep(QTextDocument* document, Text before, const Text& after)
    : document_(document), before_(std::move(before)), after_first_(&after) {}

WholeTextStep::~WholeTextStep() { WipeQString(after_); }

void WholeTextStep::Apply(QTextDocument* document, Text before, const Text& after) {
    auto* step = new WholeTextStep(document, std::move(before), after);
    if (!document->isUndoRedoEnabled()) {
        step->redo();
        delete step;
        return;
    }
    // Recorded as not yet made; the document's redo makes it without
    // recording each of its edits.
    document->appendUndoItem(step);
    document->undo();
    document->redo();
    step->after_first_ = nullptr;  // the history owns the step; `after` is the caller's
}

void WholeTextStep::undo() {
    if (!showing_after_) return;
    size_t at = 0;
    Show([&] { return NextPieceOf(before_, at); });
    showing_after_ = false;
}

void WholeTextStep::redo() {
    if (showing_after_) return;
    if (after_first_) {
        size_t at = 0;
        Show([&] {
            QString piece = NextPieceOf(*after_first_, at);
            after_ += piece;
            return piece;
        });
        after_first_ = nullptr;
    } else {
        qsizetype at = 0;
        Show([&] {
            qsizetype size = std::min<qsizetype>(kPiece, after_.size() - at);
            if (size > 0 && at + size < after_.size() && after_[at + size - 1].isHighSurrogate()) ++size;
            QString piece = after_.mid(at, size);
            at += size;
            return piece;
        });
    }
    showing_after_ = true;
}

template <class NextPiece>
void WholeTextStep::Show(NextPiece&& next_piece) {
    if (!document_) return;
    PendingEvents pending;
    QTextCursor cursor(document_);
    cursor.beginEditBlock();
    for (int end = document_->characterCount() - 1; end > 0;) {
        const int from = std::max(0, end - kPiece);
        cursor.setPosition(from);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        end = from;
        pending.Handle();
    }
    for (QString piece = next_piece(); !piece.isEmpty(); piece = next_piece()) {
        cursor.insertText(piece);
        WipeQString(piece);
        pending.Handle();
    }
    cursor.endEditBlock();
}

}  // namespace morvane
