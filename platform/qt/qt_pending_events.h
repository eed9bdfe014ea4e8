#pragma once
// Lets the window repaint and answer the system during one long piece of
// work, at most every 20 ms; the user's input waits until the work is done,
// so it cannot change what the work is changing.
#include <QElapsedTimer>

namespace morvane {

class PendingEvents {
public:
    // Handles them at the first call, then once 20 ms have passed.
    void Handle();

private:
    QElapsedTimer since_;
};

}  // namespace morvane
