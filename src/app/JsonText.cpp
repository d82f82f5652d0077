#include "app/JsonText.h"

namespace JsonText {

QString string(const QString &text)
{
    QString json = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            json += QLatin1Char('\\') + c;
        else if (c.unicode() < 0x20)
            json += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            json += c;
    }
    return json + QLatin1Char('"');
}

} // namespace JsonText
