#include "app/qr_window.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "output/qr_code.h"
#include "platform/base/wiped_memory.h"
#include "platform/qt/qt_text.h"

namespace morvane {
namespace {

QString CountdownText(int left) { return QString("Closes in %1 s").arg(left); }

}  // namespace

QrWindow::QrWindow(QWidget* parent, const QString& password, int seconds)
    : QDialog(parent), password_(password), left_(seconds) {
    setObjectName("qrWindow");
    setWindowTitle("Password as QR Code");
    setAttribute(Qt::WA_DeleteOnClose);
    auto* column = new QVBoxLayout(this);
    viewCode = new QrView(this);
    viewCode->setObjectName("viewQrCode");
    viewCode->setAccessibleName("QR code of the password");
    viewCode->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    column->addWidget(viewCode, 1);
    lblProblem = new QLabel(this);
    lblProblem->hide();
    column->addWidget(lblProblem);
    chkWifi = new QCheckBox("&Wi-Fi join code", this);
    chkWifi->setToolTip("A code a phone scans to join the network, with the password as its key");
    txtNetwork = new QLineEdit(this);
    txtNetwork->setPlaceholderText("network name");
    txtNetwork->setAccessibleName("Network name");
    txtNetwork->setEnabled(false);
    auto* wifi = new QHBoxLayout;
    wifi->addWidget(chkWifi);
    wifi->addWidget(txtNetwork, 1);
    column->addLayout(wifi);
    lblCountdown = new QLabel(this);
    lblCountdown->setObjectName("lblQrCountdown");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblCountdown, 1);
    bottom->addWidget(buttons);
    column->addLayout(bottom);
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);
    connect(chkWifi, &QCheckBox::toggled, this, [this](bool on) {
        txtNetwork->setEnabled(on);
        if (on) txtNetwork->setFocus();
        Draw();
    });
    connect(txtNetwork, &QLineEdit::textChanged, this, &QrWindow::Draw);
    Draw();
    if (left_ > 0) {
        lblCountdown->setText(CountdownText(left_));
        ticks_.setInterval(1000);
        connect(&ticks_, &QTimer::timeout, this, &QrWindow::Tick);
        ticks_.start();
    }
}

QrWindow::~QrWindow() { Wipe(); }

void QrView::Show(QrCode code) {
    Wipe();
    code_ = std::move(code);
    setMinimumSize(sizeHint());  // large enough to scan from a phone
    update();
}

void QrView::Wipe() {
    WipeQr(code_);
    update();
}

QSize QrView::sizeHint() const {
    const int side = code_.size * QrWindow::kModulePixels;
    return {side, side};
}

// Each module a whole number of pixels of the screen, so that its edges
// stay sharp at any scale; dark on white, centred.
void QrView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (code_.size == 0) return;
    const qreal ratio = devicePixelRatioF();
    const int device_side = static_cast<int>(std::min(width(), height()) * ratio);
    const int module_pixels = std::max(1, device_side / code_.size);
    const qreal module = module_pixels / ratio;
    const QPointF origin((width() - module * code_.size) / 2, (height() - module * code_.size) / 2);
    for (int y = 0; y < code_.size; ++y)
        for (int x = 0; x < code_.size; ++x)
            if (code_.Dark(x, y)) painter.fillRect(QRectF(origin + QPointF(x * module, y * module), QSizeF(module, module)), Qt::black);
}

void QrWindow::Draw() {
    Text password = FromQt(password_);
    std::string text = ToUtf8(password);
    morvane::Wipe(password);
    if (chkWifi->isChecked()) {
        std::string join = WifiJoinText(ToUtf8(FromQt(txtNetwork->text())), text);
        morvane::Wipe(text);
        text = std::move(join);
    }
    QrCode code = EncodeQr(text);
    morvane::Wipe(text);
    lblProblem->setText(code.size == 0 ? "This password is too long for a QR code." : "");
    lblProblem->setVisible(code.size == 0);
    viewCode->Show(std::move(code));
}

void QrWindow::Tick() {
    if (--left_ <= 0) return void(close());
    lblCountdown->setText(CountdownText(left_));
}

void QrWindow::closeEvent(QCloseEvent* event) {
    Wipe();
    QDialog::closeEvent(event);
}

// The password, and the code drawn of it, go with the window.
void QrWindow::Wipe() {
    ticks_.stop();
    WipeQString(password_);
    viewCode->Wipe();
}

}  // namespace morvane
