#include "FixtureCity.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>

namespace {

[[noreturn]] void fail(const QString &what)
{
    qFatal("FixtureCity: %s", qPrintable(what));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    return file.readAll();
}

// Splits an SQL script into statements at semicolons outside quotes, dropping "--" comments.
QStringList statements(const QString &script)
{
    QStringList result;
    QString current;
    bool quoted = false;
    for (int i = 0; i < script.size(); ++i) {
        const QChar c = script[i];
        if (!quoted && c == QLatin1Char('-') && i + 1 < script.size() && script[i + 1] == QLatin1Char('-')) {
            while (i < script.size() && script[i] != QLatin1Char('\n'))
                ++i;
            current += QLatin1Char('\n');
            continue;
        }
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char(';')) {
            if (!current.trimmed().isEmpty())
                result.append(current.trimmed());
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        result.append(current.trimmed());
    return result;
}

QByteArray encode(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        fail(QStringLiteral("cannot encode a %1 picture").arg(QLatin1String(format)));
    return bytes;
}

QSize pictureSize(const QString &column)
{
    if (column == QLatin1String("tree_Logo"))
        return {48, 16};
    if (column == QLatin1String("map_Logo"))
        return {24, 24};
    return {16, 16};
}

// A raster with a grid and a diagonal, so that scaled or shifted drawing is visible in screenshots.
QImage raster(int width, int height, const QColor &paper)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(paper);
    QPainter painter(&image);
    painter.setPen(QColor(90, 90, 90));
    for (int x = 0; x < width; x += 50)
        painter.drawLine(x, 0, x, height - 1);
    for (int y = 0; y < height; y += 50)
        painter.drawLine(0, y, width - 1, y);
    painter.setPen(QColor(30, 60, 200));
    painter.drawLine(0, 0, width - 1, height - 1);
    return image;
}

QImage icon(int size, const QColor &colour)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Fixture::IconBackground);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(size * 0.2, size * 0.2, size * 0.6, size * 0.6));
    return image;
}

// Runs `work` on a writable connection of its own that is removed again afterwards.
template <typename Work>
void withDatabase(const QString &file, Work work)
{
    static std::atomic<int> counter{0};
    const QString name = QStringLiteral("FixtureCity-%1").arg(++counter);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        if (!db.open())
            fail(db.lastError().text());
        // A test city need not survive a power cut.
        QSqlQuery(db).exec(QStringLiteral("PRAGMA synchronous=OFF"));
        work(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void exec(QSqlQuery &query, const QString &sql)
{
    if (!query.exec(sql))
        fail(QStringLiteral("%1\n%2").arg(query.lastError().text(), sql));
}

void runScript(QSqlDatabase &db, const QString &script)
{
    QSqlQuery query(db);
    for (const QString &statement : statements(script))
        exec(query, statement);
}

} // namespace

FixtureCity::FixtureCity()
{
    if (!m_dir.isValid())
        fail(QStringLiteral("cannot make a temporary folder"));
    buildDatabase();
    buildFiles();
}

QString FixtureCity::path() const
{
    return m_dir.path();
}

QString FixtureCity::file(const QString &relative) const
{
    return m_dir.filePath(relative);
}

QString FixtureCity::connectionString() const
{
    return QStringLiteral("Provider=SQLite;Data Source=") + file(QStringLiteral("city.db"));
}

QColor FixtureCity::pictureColour(qint64 rowId, const QString &column)
{
    const int shift = column == QLatin1String("tree_Logo") ? 0 : column == QLatin1String("map_Logo") ? 80 : 160;
    return QColor::fromHsv(int((rowId * 37 + shift) % 360), 200, 220);
}

void FixtureCity::buildDatabase()
{
    withDatabase(file(QStringLiteral("city.db")), [](QSqlDatabase &db) {
        db.transaction();
        runScript(db, QString::fromUtf8(readFile(QStringLiteral(KVIRZETA_SOURCE_DIR "/sql/schema.sql"))));
        runScript(db, QString::fromUtf8(readFile(QStringLiteral(KVIRZETA_FIXTURE_DIR "/city.sql"))));
        // Every blob cell holding the text 'JPEG' becomes a small picture of its own colour.
        QSqlQuery query(db);
        for (const QString &column : {QStringLiteral("tree_Logo"), QStringLiteral("map_Logo"),
                                     QStringLiteral("sareklamo_failis_logo")}) {
            exec(query, QStringLiteral("SELECT rowid FROM obieqtis_logo WHERE typeof(%1)='text' AND %1='JPEG'").arg(column));
            QList<qint64> rows;
            while (query.next())
                rows.append(query.value(0).toLongLong());
            QSqlQuery update(db);
            update.prepare(QStringLiteral("UPDATE obieqtis_logo SET %1=? WHERE rowid=?").arg(column));
            for (qint64 row : rows) {
                QImage image(pictureSize(column), QImage::Format_RGB32);
                image.fill(pictureColour(row, column));
                update.addBindValue(encode(image, "JPEG"));
                update.addBindValue(row);
                if (!update.exec())
                    fail(update.lastError().text());
            }
        }
        db.commit();
    });
}

void FixtureCity::buildFiles()
{
    write(QStringLiteral("Address.ini"), "Provider=SQLite;Data Source=city.db\n");
    write(QStringLiteral("Raster/Tbilisi.bmp"),
          encode(raster(Fixture::GeneralMapWidth, Fixture::GeneralMapHeight, QColor(230, 240, 220)), "BMP"));
    int hue = 0;
    for (const char *sheet : Fixture::Sheets) {
        write(QStringLiteral("Raster/%1.jpg").arg(QLatin1String(sheet)),
              encode(raster(Fixture::SheetWidth, Fixture::SheetHeight, QColor::fromHsv(hue, 40, 240)), "JPEG"));
        hue += 60;
    }
    const struct {
        const char *name;
        int size;
        QColor colour;
    } icons[] = {{"yellow.bmp", 16, QColor(255, 220, 0)},
                 {"Street.bmp", 12, QColor(0, 0, 200)},
                 {"Active_ Street.bmp", 12, QColor(200, 0, 0)},
                 {"Stop.bmp", 10, QColor(0, 150, 0)},
                 {"Active_Stop.bmp", 10, QColor(255, 128, 0)}};
    for (const auto &i : icons)
        write(QStringLiteral("pictures/icons/") + QLatin1String(i.name), encode(icon(i.size, i.colour), "BMP"));
    write(QStringLiteral("Kvirzeta.pdf"), "%PDF-1.4\n% Kvirzeta help\n%%EOF\n");
}

QByteArray FixtureCity::picture(int objectKey, const QString &column) const
{
    QByteArray bytes;
    withDatabase(file(QStringLiteral("city.db")), [&](QSqlDatabase &db) {
        QSqlQuery query(db);
        exec(query, QStringLiteral("SELECT %1 FROM obieqtis_logo WHERE g_obieqti_kodi=%2 ORDER BY rowid LIMIT 1")
                        .arg(column)
                        .arg(objectKey));
        if (query.next())
            bytes = query.value(0).toByteArray();
    });
    return bytes;
}

void FixtureCity::remove(const QString &relative)
{
    if (!QFile::remove(file(relative)))
        fail(QStringLiteral("cannot remove %1").arg(relative));
}

void FixtureCity::write(const QString &relative, const QByteArray &content)
{
    const QString target = file(relative);
    QDir().mkpath(QFileInfo(target).path());
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(content) != content.size())
        fail(QStringLiteral("cannot write %1: %2").arg(relative, out.errorString()));
}

void FixtureCity::execSql(const QString &sql)
{
    withDatabase(file(QStringLiteral("city.db")), [&](QSqlDatabase &db) {
        db.transaction();
        runScript(db, sql);
        db.commit();
    });
}

ScopedCurrentDir::ScopedCurrentDir(const QString &dir) : m_previous(QDir::currentPath())
{
    if (!QDir::setCurrent(dir))
        fail(QStringLiteral("cannot enter %1").arg(dir));
}

ScopedCurrentDir::~ScopedCurrentDir()
{
    QDir::setCurrent(m_previous);
}
