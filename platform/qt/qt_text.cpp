#include "platform/qt/qt_text.h"

#include <QFontInfo>

#include <string.h>

namespace morvane {

QString ToQt(const Text& text) {
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

QString ToQt(const std::string& utf8) { return QString::fromStdString(utf8); }

Text FromQt(const QString& text) {
    Text out;
    out.reserve(static_cast<size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out.push_back(QChar::surrogateToUcs4(c, text.at(i + 1)));
            ++i;
        } else {
            out.push_back(c.unicode());
        }
    }
    return out;
}

int Utf16Index(const QString& s, int code_point_index) {
    int u = 0;
    for (int cp = 0; cp < code_point_index && u < s.size(); ++cp)
        u += (s.at(u).isHighSurrogate() && u + 1 < s.size()) ? 2 : 1;
    return u;
}

int CodePointIndex(const QString& s, int utf16_index) {
    int cp = 0;
    for (int u = 0; u < utf16_index && u < s.size(); ++cp)
        u += (s.at(u).isHighSurrogate() && u + 1 < s.size()) ? 2 : 1;
    return cp;
}

void WipeQString(QString& s) {
    if (s.isDetached() && s.capacity() > 0)
        ::explicit_bzero(s.data(), static_cast<size_t>(s.capacity()) * sizeof(QChar));
    s.clear();
}

QFont ToQFont(const FontSpec& spec) {
    QFont f(QString::fromStdString(spec.name));
    if (spec.size > 0) f.setPointSizeF(spec.size);
    f.setBold(spec.bold);
    f.setItalic(spec.italic);
    f.setUnderline(spec.underline);
    f.setStrikeOut(spec.strikeout);
    return f;
}

FontSpec FromQFont(const QFont& font) {
    FontSpec spec;
    spec.name = font.family().toStdString();
    spec.size = font.pointSizeF();
    spec.bold = font.bold();
    spec.italic = font.italic();
    spec.underline = font.underline();
    spec.strikeout = font.strikeOut();
    return spec;
}

// Verdana was chosen for the list because it tells I, l, 1 and | apart, and
// O from 0. Where it is missing, the desktop's fallback may draw them alike,
// so a monospaced face made to keep them apart stands in, at the same size.
QFont ListFont() {
    constexpr double kListPoints = 8.25;
    QFont font(QStringLiteral("Verdana"));
    if (QFontInfo(font).family() != font.family()) font = QFont(QStringLiteral("DejaVu Sans Mono"));
    font.setPointSizeF(kListPoints);
    return font;
}

}  // namespace morvane
