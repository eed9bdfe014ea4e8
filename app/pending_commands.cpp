// Commands whose work is not written yet; they do nothing.
#include "app/main_window.h"

namespace morvane {

void MainWindow::mnuCut_Click() {}
void MainWindow::mnuCopy_Click() {}
void MainWindow::mnuPaste_Click() {}
void MainWindow::mnuDelete_Click() {}
void MainWindow::mnuSelectAll_Click() {}
void MainWindow::mnuFind_Click() {}
void MainWindow::mnuReplace_Click() {}
void MainWindow::mnuFont_Click() {}
void MainWindow::mnuAlignLeft_Click() {}
void MainWindow::mnuAlignCenter_Click() {}
void MainWindow::mnuAlignRight_Click() {}

}  // namespace morvane
