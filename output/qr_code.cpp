#include "output/qr_code.h"

#include <qrencode.h>
#include <string.h>

#include <memory>

namespace morvane {
namespace {

constexpr int kQuietZone = 4;  // modules of light around the code

struct QrFree {
    void operator()(QRcode* code) const {
        ::explicit_bzero(code->data, static_cast<size_t>(code->width) * static_cast<size_t>(code->width));
        QRcode_free(code);
    }
};

void AppendEscaped(std::string& out, std::string_view text) {
    for (const char c : text) {
        if (c == '\\' || c == ';' || c == ',' || c == ':' || c == '"') out += '\\';
        out += c;
    }
}

}  // namespace

QrCode EncodeQr(std::string_view text) {
    // Byte mode with medium error correction: any UTF-8 text, read back as
    // it was given; version 0 lets the library choose the smallest.
    const std::unique_ptr<QRcode, QrFree> encoded(
        QRcode_encodeData(static_cast<int>(text.size()), reinterpret_cast<const unsigned char*>(text.data()), 0,
                          QR_ECLEVEL_M));
    QrCode code;
    if (!encoded) return code;
    const int width = encoded->width;
    code.size = width + 2 * kQuietZone;
    code.dark.assign(static_cast<size_t>(code.size) * static_cast<size_t>(code.size), false);
    for (int y = 0; y < width; ++y)
        for (int x = 0; x < width; ++x)
            code.dark[static_cast<size_t>((y + kQuietZone) * code.size + x + kQuietZone)] =
                (encoded->data[y * width + x] & 1) != 0;
    return code;
}

void WipeQr(QrCode& code) {
    code.dark.assign(code.dark.size(), false);
    code.dark.clear();
    code.size = 0;
}

std::string QrAsHalfBlocks(const QrCode& code, std::string_view line_end) {
    static constexpr char kBlackOnWhite[] = "\x1b[30;47m", kPlain[] = "\x1b[0m";
    static constexpr const char* kCells[] = {" ", "\u2584", "\u2580", "\u2588"};  // by top dark * 2 + bottom dark
    std::string out;
    for (int y = 0; y < code.size; y += 2) {
        out += kBlackOnWhite;
        for (int x = 0; x < code.size; ++x) {
            const bool top = code.Dark(x, y), bottom = y + 1 < code.size && code.Dark(x, y + 1);
            out += kCells[(top ? 2 : 0) + (bottom ? 1 : 0)];
        }
        out += kPlain;
        out += line_end;
    }
    return out;
}

std::string WifiJoinText(std::string_view network, std::string_view password) {
    std::string text = "WIFI:T:WPA;S:";
    AppendEscaped(text, network);
    text += ";P:";
    AppendEscaped(text, password);
    text += ";;";
    return text;
}

}  // namespace morvane
