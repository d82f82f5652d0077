#pragma once
// The display font of every caption, hint, menu and list: the Latin transliteration is drawn in
// it as Georgian script.
#include <QFont>

namespace WindowFonts {

inline const QString Family = QStringLiteral("_! Kolhety");

inline QFont pixels(int pixelSize, bool bold = false)
{
    QFont font(Family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

inline QFont points(int pointSize)
{
    QFont font(Family);
    font.setPointSize(pointSize);
    return font;
}

} // namespace WindowFonts
