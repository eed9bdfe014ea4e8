#pragma once
// Between the program's texts and Qt's UTF-16 strings.
#include <QFont>
#include <QString>

#include "platform/contracts/controls.h"
#include "platform/base/text.h"

namespace morvane {

QString ToQt(const Text& text);
QString ToQt(const std::string& utf8);
Text FromQt(const QString& text);
// Code point index <-> UTF-16 index within `s`.
int Utf16Index(const QString& s, int code_point_index);
int CodePointIndex(const QString& s, int utf16_index);
// Zeros a string that held passwords, where it is the only holder of its
// data, and empties it.
void WipeQString(QString& s);
// Between the program's font descriptions and Qt's fonts.
QFont ToQFont(const FontSpec& spec);
FontSpec FromQFont(const QFont& font);
// The face passwords are shown and printed in: one that keeps look-alike
// characters apart.
QFont ListFont();

}  // namespace morvane
