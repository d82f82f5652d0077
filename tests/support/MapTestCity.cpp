#include "MapTestCity.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

const QColor MapTestCity::iconGround(255, 0, 255);

namespace {
const QString sideConnection = QStringLiteral("map-test-city-writer");
}

QImage MapTestCity::raster(int width, int height, const QColor &colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 1));
    for (int x = 0; x < width; x += 100)
        painter.drawLine(x, 0, x, height - 1);
    for (int y = 0; y < height; y += 100)
        painter.drawLine(0, y, width - 1, y);
    return image;
}

void MapTestCity::writeIcon(const QString &relative, const QColor &colour) const
{
    QImage icon(16, 16, QImage::Format_RGB32);
    icon.fill(iconGround);
    QPainter painter(&icon);
    painter.fillRect(3, 3, 10, 10, colour);
    painter.end();
    QVERIFY(icon.save(path(relative), "BMP"));
}

MapTestCity::MapTestCity()
{
    if (!m_dir.isValid())
        return;
    QDir root(m_dir.path());
    root.mkpath(QStringLiteral("Raster"));
    root.mkpath(QStringLiteral("pictures/icons"));
    if (!raster(2000, 1500, QColor(230, 230, 200)).save(path(QStringLiteral("Raster/Tbilisi.bmp")), "BMP")
        || !raster(1200, 900, QColor(190, 210, 250)).save(path(QStringLiteral("Raster/B2.jpg")), "JPEG")
        || !raster(1200, 900, QColor(190, 250, 190)).save(path(QStringLiteral("Raster/B3.jpg")), "JPEG"))
        return;
    writeIcon(QStringLiteral("pictures/icons/yellow.bmp"), QColor(250, 220, 0));
    writeIcon(QStringLiteral("pictures/icons/Street.bmp"), QColor(0, 0, 200));
    writeIcon(QStringLiteral("pictures/icons/Active_ Street.bmp"), QColor(200, 0, 0));
    writeIcon(QStringLiteral("pictures/icons/Stop.bmp"), QColor(0, 150, 0));
    writeIcon(QStringLiteral("pictures/icons/Active_Stop.bmp"), QColor(0, 250, 0));

    const QString dbPath = path(QStringLiteral("city.sqlite"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), sideConnection);
        db.setDatabaseName(dbPath);
        if (!db.open())
            return;
        QFile schema(QStringLiteral(KVIRZETA_SOURCE_DIR "/sql/schema.sql"));
        if (!schema.open(QIODevice::ReadOnly))
            return;
        QString text = QString::fromUtf8(schema.readAll());
        text.remove(QRegularExpression(QStringLiteral("--[^\n]*")));
        for (const QString &statement : text.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            if (!statement.trimmed().isEmpty())
                QSqlQuery(db).exec(statement);
    }
    const char *rows[] = {
        "INSERT INTO rubrika VALUES (1, 'rubrika')",
        "INSERT INTO qve_rubrika VALUES (5, 1, 'qve rubrika')",
        "INSERT INTO obieqti (obieqtis_kodi, saxeli, g_qve_rubrika_kodi, ruka_kodi, x, y) VALUES"
        " (12, 'obieqti 12', 5, 'B2', 37.5, 50), (13, 'obieqti 13', 5, 'B3', 10, 20),"
        " (14, 'obieqti 14', 5, 'F5', 50, 50), (15, 'obieqti 15', 5, 'B2', NULL, NULL),"
        " (16, 'obieqti 16', 5, 'Z9', 50, 50)",
        "INSERT INTO obieqtis_logo (g_obieqti_kodi) VALUES (12), (13), (14), (15), (16)",
        "INSERT INTO quCa (quCa_kodi, saxeli, ruka_kodi, x, y) VALUES"
        " (7, 'quCa 7', 'B2', 20, 30), (8, 'quCa 8', 'B3', 40, 40)",
        "INSERT INTO gaCereba (gaCereba_kodi, saxeli, ruka_kodi, x, y) VALUES"
        " (12, 'gaCereba 12', 'B2', 40, 60), (13, 'gaCereba 13', 'B2', NULL, 10), (21, 'gaCereba 21', 'B3', 5, 5)",
    };
    for (const char *sql : rows)
        exec(QString::fromUtf8(sql));

    m_previousDir = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    dm.ADOConn.setConnectionString(QStringLiteral("Provider=SQLite;Data Source=") + dbPath);
    m_valid = true;
}

MapTestCity::~MapTestCity()
{
    dm.ADOConn.close();
    if (QSqlDatabase::contains(sideConnection))
        QSqlDatabase::removeDatabase(sideConnection);
    if (!m_previousDir.isEmpty())
        QDir::setCurrent(m_previousDir);
}

void MapTestCity::exec(const QString &sql) const
{
    QSqlDatabase db = QSqlDatabase::database(sideConnection);
    QSqlQuery query(db);
    if (!query.exec(sql))
        qWarning("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
}
