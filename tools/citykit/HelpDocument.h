#pragma once
// The help document: a short guide to the program, in Georgian.
#include <QImage>
#include <QIODevice>
#include <QString>

namespace HelpDocument {

// Writes the guide as a PDF; the general map's picture illustrates the map section. The guide
// names the city in its "of ..." form, cityGenitive ("Tbilisis").
bool write(QIODevice &device, const QImage &generalMap, const QString &cityGenitive = QStringLiteral("Tbilisis"));

}
