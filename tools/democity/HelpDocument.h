#pragma once
// The help document: a short guide to the program, in the transliteration and the display font.
#include <QImage>
#include <QIODevice>
#include <QString>

namespace HelpDocument {

// Writes the guide as a PDF; the general map's picture illustrates the map section.
bool write(QIODevice &device, const QString &fontFamily, const QImage &generalMap);

}
