#pragma once
// A text as a QR code, with the quiet zone of four modules the standard
// asks around it; drawn on a terminal in half blocks, and the standard
// Wi-Fi join text a phone scans to join a network.
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// The modules, row by row, true for dark, quiet zone included; empty when
// the text is too long for any QR code.
struct QrCode {
    int size = 0;  // modules on a side
    std::vector<bool> dark;
    bool Dark(int x, int y) const { return dark[static_cast<size_t>(y * size + x)]; }
};
QrCode EncodeQr(std::string_view text);
// Overwrites the modules before the code is let go.
void WipeQr(QrCode& code);

// Two rows of modules a line, in upper and lower half blocks, black on
// white whatever the terminal's colours (ANSI escapes), each line ending
// with `line_end`.
std::string QrAsHalfBlocks(const QrCode& code, std::string_view line_end = "\n");

// WIFI:T:WPA;S:<network>;P:<password>;; with \ ; , : and " escaped.
std::string WifiJoinText(std::string_view network, std::string_view password);

}  // namespace morvane
