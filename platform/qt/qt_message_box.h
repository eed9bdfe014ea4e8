#pragma once
// Message boxes shown as real modal dialogs.
#include <QWidget>

#include "platform/contracts/message_box.h"

namespace morvane {

class QtMessageBox : public MessageBoxService {
public:
    explicit QtMessageBox(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }
    int Show(const std::string& text, int buttons, const std::string& title) override;
    void Beep() override;

private:
    QWidget* owner_;
};

}  // namespace morvane
