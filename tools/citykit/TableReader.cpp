#include "citykit/TableReader.h"

#include "citykit/Geometry.h"

#include <QFile>
#include <QTextStream>

TableReader::TableReader(const QString &folder, const QString &file, QStringList *errors) : m_file(file), m_errors(errors)
{
    QFile f(folder + QLatin1Char('/') + file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        fail(0, QStringLiteral("cannot be read"));
        return;
    }
    QTextStream in(&f);
    in.setEncoding(QStringConverter::Utf8);
    int number = 0;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        ++number;
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        QStringList fields = line.split(QLatin1Char('|'));
        for (QString &field : fields)
            field = field.trimmed();
        m_lines.append({number, fields});
    }
}

void TableReader::fail(int line, const QString &what) const
{
    m_errors->append(QStringLiteral("%1:%2: %3").arg(m_file).arg(line).arg(what));
}

bool TableReader::need(const Line &line, int count) const
{
    if (line.fields.size() >= count)
        return true;
    fail(line.number, QStringLiteral("expected %1 fields").arg(count));
    return false;
}

double TableReader::number(const Line &line, int field) const
{
    bool ok = false;
    const double value = line.fields.value(field).toDouble(&ok);
    if (!ok)
        fail(line.number, QStringLiteral("not a number: %1").arg(line.fields.value(field)));
    return value;
}

QPointF TableReader::point(const MapFrame &frame, const Line &line, const QString &text) const
{
    const QStringList parts = text.split(QLatin1Char(','));
    bool ok1 = false, ok2 = false;
    const double lon = parts.value(0).toDouble(&ok1), lat = parts.value(1).toDouble(&ok2);
    if (parts.size() != 2 || !ok1 || !ok2)
        fail(line.number, QStringLiteral("not a lon,lat pair: %1").arg(text));
    return frame.project(lon, lat);
}

QPolygonF TableReader::points(const MapFrame &frame, const Line &line, const QString &text) const
{
    QPolygonF result;
    const QStringList items = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &item : items)
        result << point(frame, line, item);
    return result;
}

QPolygonF TableReader::shape(const MapFrame &frame, const Line &line, const QString &text) const
{
    QStringList items = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString kind = items.isEmpty() ? QString() : items.takeFirst();
    if (kind == QLatin1String("polygon"))
        return points(frame, line, items.join(QLatin1Char(' ')));
    if (kind == QLatin1String("ellipse") && items.size() == 4)
        return geo::ellipse(point(frame, line, items[0]), items[1].toDouble(), items[2].toDouble(),
                            items[3].toDouble());
    fail(line.number, QStringLiteral("not a shape: %1").arg(text));
    return {};
}
