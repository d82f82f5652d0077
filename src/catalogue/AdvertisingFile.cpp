#include "catalogue/AdvertisingFile.h"

#include "data/DataSet.h"
#include "dialogs/Prompts.h"
#include "platform/Desktop.h"
#include "platform/PrivateTempDirectory.h"

#include <QRegularExpression>

namespace AdvertisingFile {

namespace {

// The longest file name the file systems take, in bytes of its UTF-8 form.
constexpr qsizetype MaxNameBytes = 255;

// A name too long for a file name is cut at a character boundary; its extension stays.
QString fitted(const QString &name)
{
    if (name.toUtf8().size() <= MaxNameBytes)
        return name;
    static const QRegularExpression extension(QStringLiteral("\\.[A-Za-z0-9]{1,10}$"));
    const QString suffix = extension.match(name).captured();
    QString stem = name.chopped(suffix.size());
    while (!stem.isEmpty() && (stem + suffix).toUtf8().size() > MaxNameBytes)
        stem.chop(stem.back().isLowSurrogate() ? 2 : 1);
    return stem + suffix;
}

} // namespace

QString safeFileName(const QString &storedName)
{
    static const QRegularExpression separators(QStringLiteral("[/\\\\]"));
    const QString base = storedName.split(separators).constLast().trimmed();
    if (!base.isEmpty() && base != QLatin1String(".") && base != QLatin1String(".."))
        return fitted(base);
    // Nothing usable is left: keep the extension of the stored name when it has one.
    static const QRegularExpression extension(QStringLiteral("\\.([A-Za-z0-9]{1,10})\\s*$"));
    const QRegularExpressionMatch match = extension.match(storedName);
    const QString fallback = QStringLiteral("advertising");
    return match.hasMatch() ? fallback + QLatin1Char('.') + match.captured(1) : fallback;
}

QString open(const DataSet &objects, Prompts &prompts, Desktop &desktop)
{
    if (objects.isNull(QStringLiteral("sareklamo_faili"))) {
        prompts.showMessage(QStringLiteral("sareklamo SemoTavazeba gansazRvruli ar aris"));
        return QString();
    }
    const QString path = privateTempDirectory() + safeFileName(objects.text(QStringLiteral("sareklamo_faili_saxeli")));
    objects.saveBlobToFile(QStringLiteral("sareklamo_faili"), path);
    desktop.openFile(path);
    return path;
}

} // namespace AdvertisingFile
