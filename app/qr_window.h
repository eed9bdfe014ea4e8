#pragma once
// A password shown as a QR code, to scan with a phone: a secret like a
// copy on the clipboard, it closes by itself after the same delay, and on
// Clear and at exit, and what it held is wiped when it closes. It can show
// instead the code a phone scans to join a Wi-Fi network with the password
// as its key.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include "output/qr_code.h"

namespace morvane {

// Paints the modules of a code, a whole number of pixels each, from the
// code itself: no picture of it is kept but what is on the screen.
class QrView : public QWidget {
public:
    explicit QrView(QWidget* parent) : QWidget(parent) {}
    void Show(QrCode code);
    void Wipe();
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QrCode code_;
};

class QrWindow : public QDialog {
    Q_OBJECT
public:
    // Shows `password`, and counts down `seconds` (0: stays until closed).
    QrWindow(QWidget* parent, const QString& password, int seconds);
    ~QrWindow() override;

    QrView* code() const { return viewCode; }
    QLabel* lblProblem;  // where a password too long for a code is said
    QCheckBox* chkWifi;
    QLineEdit* txtNetwork;
    QLabel* lblCountdown;
    // The image a phone reads: the code with its quiet zone, each module
    // this many pixels.
    static constexpr int kModulePixels = 8;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Draw();
    void Tick();
    void Wipe();
    QrView* viewCode;
    QString password_;
    int left_;
    QTimer ticks_;
};

}  // namespace morvane
