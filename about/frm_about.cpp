#include "about/frm_about.h"

#include <QEvent>

#include "platform/qt/artwork.h"
#include "about/program_links.h"
#include "platform/qt/qt_text_fit.h"
#include "platform/qt/twips.h"
#include "platform/contracts/error_report.h"

namespace morvane {
namespace {

QLabel* GreyLabel(QWidget* parent, const char* text, int l, int t, int w, int h) {
    auto* label = new QLabel(text, parent);
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, QColor(224, 224, 224));
    label->setPalette(p);
    Place(label, l, t, w, h);
    return label;
}

QLineEdit* LinkField(QWidget* parent, const std::string& text, const char* tip, int l, int t, int w,
                     int h) {
    auto* field = new QLineEdit(QString::fromStdString(text), parent);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    field->setToolTip(tip);
    field->setCursor(PointingHandCursor());
    field->setFrame(false);
    Place(field, l, t, w, h);
    return field;
}

}  // namespace

frmAbout::frmAbout(QWidget* owner, AboutServices services)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      services_(std::move(services)) {
    setModal(true);
    setFixedSize(Px(6495), Px(4065));
    setWindowIcon(ProgramIcon());
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    QFont verdana("Verdana");
    verdana.setPointSizeF(8.25);
    setFont(verdana);

    picMorvaneLogo = new QLabel(this);
    Place(picMorvaneLogo, 240, 120, 3150, 1170);
    picMorvaneLogo->setPixmap(LogoPixmap().scaled(210, 78, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    picMorvaneLogo->setCursor(PointingHandCursor());
    picMorvaneLogo->installEventFilter(this);
    lblName = GreyLabel(this, "Morvane Password Generator", 3480, 240, 2895, 255);
    lblVersion = GreyLabel(this, "", 3480, 480, 2895, 255);
    Line1 = new QFrame(this);
    Line1->setFrameShape(QFrame::HLine);
    Line1->setStyleSheet("color: rgb(128, 128, 128);");
    Line1->setGeometry(Px(120), Px(1320), Px(6360 - 120), 1);
    lblDisclaimer = new QLabel(
        "Copyright 2026 Morvane Software. Free software under the MIT licence. Passphrase words: "
        "EFF Large Wordlist, (c) 2016 Electronic Frontier Foundation, CC BY 3.0. Sites' password "
        "rules, shared accounts and change pages: password-manager-resources, (c) 2020 - 2026 Apple Inc., MIT "
        "licence. Keep the lists "
        "you save or print safe.",
        this);
    lblDisclaimer->setWordWrap(true);
    Place(lblDisclaimer, 120, 1440, 6255, 975);

    fraSupport = new QGroupBox("Support:", this);
    Place(fraSupport, 120, 2520, 6255, 615);
    lblEMail = GreyLabel(fraSupport, "E-Mail:", 120, 240, 495, 255);
    txtEmail = LinkField(fraSupport, kSupportEmail, "Send mail to support", 720, 240, 2295, 195);
    txtEmail->installEventFilter(this);
    lblWebsite = GreyLabel(fraSupport, "Internet:", 3120, 240, 615, 255);
    txtWebsite = LinkField(fraSupport, kWebsite, "Go to website", 3720, 240, 2415, 285);
    txtWebsite->installEventFilter(this);

    cmdOK = new QPushButton("OK", this);
    Place(cmdOK, 5040, 3240, 1331, 345);
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton("&System Info", this);
    Place(cmdSysInfo, 5040, 3600, 1335, 345);
    setTabOrder(cmdOK, cmdSysInfo);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });
    Form_Load();
    FitTexts(this);
}

void frmAbout::Form_Load() {
    Trap("Form_Load", [&] {
        setWindowTitle(QString::fromStdString("About " + kAppTitle));
        lblVersion->setText("Version 1.2");
    });
}

// Esc and the close box end the dialog as OK does.
void frmAbout::cmdOK_Click() { Trap("cmdOK_Click", [&] { accept(); }); }

void frmAbout::cmdSysInfo_Click() {
    Trap("cmdSysInfo_Click", [&] { StartSysInfo(*services_.registry, services_.start, *services_.box); });
}

void frmAbout::picMorvaneLogo_Click() {
    Trap("picMorvaneLogo_Click", [&] { OpenWebsite(*services_.desktop, *services_.box); });
}

void frmAbout::txtEmail_Click() {
    Trap("txtEmail_Click", [&] { OpenEmail(*services_.desktop, *services_.box); });
}

void frmAbout::txtWebsite_Click() {
    Trap("txtWebsite_Click", [&] { OpenWebsite(*services_.desktop, *services_.box); });
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == picMorvaneLogo) picMorvaneLogo_Click();
        else if (watched == txtEmail) txtEmail_Click();
        else if (watched == txtWebsite) txtWebsite_Click();
        else return QDialog::eventFilter(watched, event);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace morvane
