#include "app/help_window.h"

#include <QAction>
#include <QKeySequence>
#include <QLineEdit>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolBar>

namespace morvane {

namespace {
constexpr int kFirstWidth = 720, kFirstHeight = 600;
constexpr char kNotFound[] = "Not found";
}  // namespace

HelpWindow::HelpWindow(const QString& help_file, OpenOutside open_outside, QWidget* parent)
    : QMainWindow(parent, Qt::Window), page_(new QTextBrowser(this)), find_(new QLineEdit(this)),
      home_(QUrl::fromLocalFile(help_file)) {
    setObjectName("frmHelp");
    setWindowTitle("Morvane Password Generator Help");
    page_->setObjectName("helpPage");
    // Links within the help page open here; the web, mail and anything
    // else go to the desktop.
    page_->setOpenLinks(false);
    connect(page_, &QTextBrowser::anchorClicked, this, [this, open_outside](const QUrl& link) {
        const QUrl whole = page_->source().resolved(link);
        if (whole.isLocalFile() && whole.path() == home_.path()) page_->setSource(whole);
        else open_outside(whole);
    });
    setCentralWidget(page_);

    QToolBar* bar = addToolBar("Help");
    bar->setObjectName("helpToolbar");
    bar->setMovable(false);
    QAction* back = bar->addAction("&Back", page_, &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    QAction* forward = bar->addAction("&Forward", page_, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    bar->addAction("&Home", this, [this] { ShowSection({}); });
    connect(page_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(page_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    back->setEnabled(false);
    forward->setEnabled(false);
    bar->addSeparator();
    find_->setObjectName("helpFind");
    find_->setPlaceholderText("Find in this page");
    find_->setAccessibleName("Find in this page");
    find_->setClearButtonEnabled(true);
    bar->addWidget(find_);
    connect(find_, &QLineEdit::returnPressed, this, &HelpWindow::FindNext);
    QAction* find = new QAction(this);
    find->setShortcut(QKeySequence::Find);
    connect(find, &QAction::triggered, this, [this] {
        find_->setFocus();
        find_->selectAll();
    });
    addAction(find);
    statusBar();
    resize(kFirstWidth, kFirstHeight);
}

void HelpWindow::ShowSection(const QString& section) {
    QUrl at = home_;
    if (!section.isEmpty()) at.setFragment(section);
    page_->setSource(at);
    if (!section.isEmpty()) page_->scrollToAnchor(section);
    show();
    raise();
    activateWindow();
}

// The next place the text stands, from the cursor on, going round to the
// top once.
void HelpWindow::FindNext() {
    const QString wanted = find_->text();
    if (wanted.isEmpty()) return;
    if (page_->find(wanted)) {
        statusBar()->clearMessage();
        return;
    }
    QTextCursor top = page_->textCursor();
    top.movePosition(QTextCursor::Start);
    page_->setTextCursor(top);
    if (page_->find(wanted)) statusBar()->clearMessage();
    else statusBar()->showMessage(kNotFound);
}

void HelpWindowViewer::ShowSection(const std::string& path, const std::string& section) {
    if (!window_) window_ = new HelpWindow(QString::fromStdString(path), open_outside_, owner_);
    window_->ShowSection(QString::fromStdString(section));
}

}  // namespace morvane
