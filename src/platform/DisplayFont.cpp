#include "platform/DisplayFont.h"

#include <QFile>
#include <QFontDatabase>

namespace DisplayFont {

namespace {

QFont sized(const QString &family, int pixelSize, bool bold)
{
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

} // namespace

void ensureRegistered()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    if (QFontDatabase::families().contains(QLatin1String(Family)))
        return;
    for (const char *resource : {":/Kolhety.ttf", ":/Kolhety-Bold.ttf"}) {
        if (QFontDatabase::addApplicationFont(QLatin1String(resource)) < 0)
            qWarning("Could not register the display font %s", resource);
    }
}

QByteArray standInFile()
{
    QFile file(QStringLiteral(":/Kolhety.ttf"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QFont font(int pixelSize, bool bold)
{
    ensureRegistered();
    return sized(QLatin1String(Family), pixelSize, bold);
}

QFont pointFont(qreal pointSize, bool bold)
{
    ensureRegistered();
    QFont f{QLatin1String(Family)};
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

QFont arial(int pixelSize, bool bold)
{
    QFont f = sized(QStringLiteral("Arial"), pixelSize, bold);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

bool hasGeorgianScript(const QString &text)
{
    for (const QChar c : text) {
        if (c.script() == QChar::Script_Georgian)
            return true;
    }
    return false;
}

QFont forText(const QString &text, int pixelSize, bool bold)
{
    if (!hasGeorgianScript(text))
        return font(pixelSize, bold);
    // DejaVu Sans carries the Georgian letters and is what the stand-in display font is built from.
    QFont f = sized(QStringLiteral("DejaVu Sans"), pixelSize, bold);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

} // namespace DisplayFont
