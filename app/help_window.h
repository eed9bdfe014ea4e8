#pragma once
// The help page in a window of the program's own: its pictures and the
// links within it, Back, Forward and Home, and Find in the page. Links to
// the web go to the desktop's browser, through `open_outside`.
#include <QMainWindow>
#include <QPointer>
#include <QUrl>
#include <functional>
#include <string>

#include "platform/contracts/desktop.h"

class QLineEdit;
class QTextBrowser;

namespace morvane {

class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    using OpenOutside = std::function<void(const QUrl&)>;
    HelpWindow(const QString& help_file, OpenOutside open_outside, QWidget* parent = nullptr);
    // Shows the page at `section` (an id in it; empty: the top), raised.
    void ShowSection(const QString& section);
    QTextBrowser* page() const { return page_; }
    QLineEdit* findField() const { return find_; }

private:
    void FindNext();
    QTextBrowser* page_;
    QLineEdit* find_;
    QUrl home_;
};

// The window's help viewer: one help window over it, made when first asked
// for.
class HelpWindowViewer : public HelpViewer {
public:
    HelpWindowViewer(QWidget* owner, HelpWindow::OpenOutside open_outside)
        : owner_(owner), open_outside_(std::move(open_outside)) {}
    void ShowSection(const std::string& path, const std::string& section) override;
    HelpWindow* window() const { return window_; }

private:
    QWidget* owner_;
    HelpWindow::OpenOutside open_outside_;
    QPointer<HelpWindow> window_;
};

}  // namespace morvane
