#pragma once
// The help document: a short guide to the program, in Georgian.
#include <QImage>
#include <QString>

namespace HelpDocument {

// Writes the guide as a PDF; the general map's picture illustrates the map section.
bool write(const QString &path, const QImage &generalMap);

}
