#pragma once
// One step of a list's undo history that sets its whole text anew. The
// change is made through the document's own redo, so the document keeps
// nothing of it but this step: a million edited lines go in about as quickly
// as Qt sets a text, and the history before the step stays as it was.
#include <QAbstractUndoItem>
#include <QPointer>
#include <QString>
#include <QTextDocument>

#include "platform/base/text.h"

namespace morvane {

class WholeTextStep : public QAbstractUndoItem {
public:
    // Sets `after` in place of `before`, the document's text now (both CR LF
    // texts), as one step that undo takes back.
    static void Apply(QTextDocument* document, Text before, const Text& after);
    ~WholeTextStep() override;

    void undo() override;
    void redo() override;

private:
    WholeTextStep(QTextDocument* document, Text before, const Text& after);
    // Takes out the document's text and puts in what `next_piece` gives
    // until it gives an empty piece, the window repainting in between.
    template <class NextPiece>
    void Show(NextPiece&& next_piece);

    QPointer<QTextDocument> document_;
    Text before_;
    const Text* after_first_;  // the text it sets the first time, kept as the document's text then
    QString after_;
    bool showing_after_ = false;
};

}  // namespace morvane
