#pragma once
// The About box: name, version, support links, System Information.
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "about/system_info.h"
#include "platform/contracts/desktop.h"
#include "platform/contracts/error_report.h"
#include "platform/contracts/message_box.h"

namespace morvane {

struct AboutServices {
    MessageBoxService* box = nullptr;
    DesktopService* desktop = nullptr;
    Registry* registry = nullptr;
    ProgramStarter start;
};

class frmAbout : public QDialog {
    Q_OBJECT
public:
    frmAbout(QWidget* owner, AboutServices services);

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void picMorvaneLogo_Click();
    void txtEmail_Click();
    void txtWebsite_Click();

    QLabel *picMorvaneLogo, *lblName, *lblVersion, *lblDisclaimer, *lblEMail, *lblWebsite;
    QFrame* Line1;
    QGroupBox* fraSupport;
    QLineEdit *txtEmail, *txtWebsite;
    QPushButton *cmdOK, *cmdSysInfo;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <class Body>
    void Trap(const char* name, Body&& body) {
        TrapErrors(*services_.box, Owner::kModule, name, std::forward<Body>(body));
    }
    AboutServices services_;
};

}  // namespace morvane
