#include "FixtureCity.h"

#include "common/Errors.h"
#include "data/Connection.h"
#include "sqlscript/SqlScript.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <QUuid>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const QString &what)
{
    qFatal("FixtureCity: %s", qPrintable(what));
}

// The backend of this run cannot be reached: the whole test program is skipped, with the reason.
[[noreturn]] void skipProgram(const QString &why)
{
    std::fprintf(stdout, "SKIP   : every test: the %s backend is not available: %s\n",
                 qPrintable(FixtureCity::backendName()), qPrintable(why));
    std::fflush(stdout);
    std::_Exit(77);
}

// The PostgreSQL server's coordinates from the environment, without Provider and Database.
QString serverCoordinates()
{
    const QString coordinates = qEnvironmentVariable("KVIRZETA_TEST_POSTGRESQL");
    if (coordinates.trimmed().isEmpty())
        skipProgram(QStringLiteral("KVIRZETA_TEST_POSTGRESQL does not name a server (scripts/test starts a "
                                   "private one and sets it)"));
    return coordinates;
}

QString serverConnectionString(const QString &database)
{
    return QStringLiteral("Provider=PostgreSQL;%1;Database=%2").arg(serverCoordinates(), database);
}

QString sqliteConnectionString(const QString &databasePath)
{
    return QStringLiteral("Provider=SQLite;Data Source=") + databasePath;
}

QString odbcConnectionString(const QString &databasePath)
{
    return QStringLiteral("Provider=MSDASQL.1;Persist Security Info=False;"
                          "Extended Properties=\"DRIVER=SQLite3;Database=%1;NoCreat=1;\"")
        .arg(databasePath);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    return file.readAll();
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

// The picture a blob cell's text asks for (see CityRecipe::dataScript); empty for any other text.
QByteArray pictureFor(const QString &request, const QImage &image)
{
    const QByteArray jpeg = encode(image, "JPEG");
    if (request == QLatin1String("JPEG"))
        return jpeg;
    if (request == QLatin1String("JPEG truncated"))
        return jpeg.left(jpeg.size() / 3);
    // The headers of a JPEG end at its start-of-scan marker; what follows is the entropy-coded data.
    const qsizetype scan = jpeg.indexOf(QByteArray("\xFF\xDA", 2));
    const qsizetype frame = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    if (scan < 0 || frame < 0)
        fail(QStringLiteral("the JPEG writer made no baseline picture"));
    if (request == QLatin1String("JPEG corrupt")) {
        QByteArray corrupt = jpeg;
        for (qsizetype i = scan + 14; i < corrupt.size() - 2; ++i)
            corrupt[i] = char(i * 7919 % 251);
        return corrupt;
    }
    if (request == QLatin1String("JPEG huge") || request == QLatin1String("JPEG tall")) {
        // Height and width of the start-of-frame segment: FF C0, length (2), precision (1), then them.
        QByteArray huge = jpeg;
        huge[frame + 5] = char(0xFD);
        huge[frame + 6] = char(0xE8);
        const bool tall = request == QLatin1String("JPEG tall");
        huge[frame + 7] = char(tall ? 0 : 0xFD);
        huge[frame + 8] = char(tall ? 1 : 0xE8);
        return huge;
    }
    return {};
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

QString uniqueConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("FixtureCity-%1").arg(++counter);
}

// Runs `work` on a writable connection of its own that is removed again afterwards.
template <typename Work>
void withDatabase(const QString &connectionString, Work work)
{
    const QString name = uniqueConnectionName();
    {
        QSqlDatabase db;
        try {
            db = Connection::openSession(connectionString, name, Connection::Access::ReadWrite);
        } catch (const Error &e) {
            fail(e.text());
        }
        // A test city need not survive a power cut.
        if (db.driverName() == QLatin1String("QSQLITE"))
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
    try {
        SqlScript::run(db, script);
    } catch (const Error &e) {
        fail(e.text());
    }
}

// Every row of a table as text, in a stable order, for digests.
QStringList tableRows(QSqlDatabase &db, const QString &table)
{
    QSqlQuery query(db);
    exec(query, QStringLiteral("SELECT * FROM %1").arg(table));
    QStringList rows;
    while (query.next()) {
        QStringList cells;
        for (int i = 0; i < query.record().count(); ++i) {
            const QVariant v = query.value(i);
            cells.append(v.isNull() ? QStringLiteral("NULL")
                                    : v.typeId() == QMetaType::QByteArray ? QString::fromLatin1(v.toByteArray().toHex())
                                                                          : v.toString());
        }
        rows.append(cells.join(QLatin1Char('|')));
    }
    rows.sort();
    return rows;
}

} // namespace

FixtureCity::Backend FixtureCity::backend()
{
    static const Backend chosen = [] {
        const QString name = qEnvironmentVariable("KVIRZETA_TEST_BACKEND").trimmed().toLower();
        if (name.isEmpty() || name == QLatin1String("sqlite"))
            return Backend::SQLite;
        if (name == QLatin1String("postgresql"))
            return Backend::PostgreSQL;
        if (name == QLatin1String("odbc"))
            return Backend::Odbc;
        fail(QStringLiteral("KVIRZETA_TEST_BACKEND must be sqlite, postgresql or odbc, not %1").arg(name));
    }();
    return chosen;
}

QString FixtureCity::backendName()
{
    switch (backend()) {
    case Backend::PostgreSQL:
        return QStringLiteral("PostgreSQL");
    case Backend::Odbc:
        return QStringLiteral("ODBC");
    case Backend::SQLite:
        break;
    }
    return QStringLiteral("SQLite");
}

FixtureCity::FixtureCity(const CityRecipe &recipe) : m_recipe(recipe)
{
    if (!m_dir.isValid())
        fail(QStringLiteral("cannot make a temporary folder"));
    buildDatabase();
    if (backend() == Backend::PostgreSQL)
        copyToServer();
    buildFiles();
    if (backend() == Backend::Odbc) {
        // The first city tells whether unixODBC and the SQLite ODBC driver are there.
        static bool reachable = false;
        if (!reachable) {
            const QString probe = QStringLiteral("FixtureCity-odbc-probe");
            try {
                Connection::openSession(connectionString(), probe, Connection::Access::ReadOnly).close();
            } catch (const Error &e) {
                QSqlDatabase::removeDatabase(probe);
                skipProgram(e.text());
            }
            QSqlDatabase::removeDatabase(probe);
            reachable = true;
        }
    }
}

FixtureCity::~FixtureCity() = default;

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
    switch (backend()) {
    case Backend::PostgreSQL:
        return m_server->connectionString();
    case Backend::Odbc:
        return odbcConnectionString(file(QStringLiteral("city.db")));
    case Backend::SQLite:
        break;
    }
    return sqliteConnectionString(file(QStringLiteral("city.db")));
}

QString FixtureCity::addressIni() const
{
    switch (backend()) {
    case Backend::PostgreSQL:
        return m_server->connectionString();
    case Backend::Odbc:
        return odbcConnectionString(QStringLiteral("city.db"));
    case Backend::SQLite:
        break;
    }
    return QStringLiteral("Provider=SQLite;Data Source=city.db");
}

QString FixtureCity::writableConnectionString() const
{
    if (backend() == Backend::PostgreSQL)
        return m_server->connectionString();
    return sqliteConnectionString(file(QStringLiteral("city.db")));
}

QColor FixtureCity::pictureColour(qint64 rowId, const QString &column)
{
    const int shift = column == QLatin1String("tree_Logo") ? 0 : column == QLatin1String("map_Logo") ? 80 : 160;
    return QColor::fromHsv(int((rowId * 37 + shift) % 360), 200, 220);
}

QString FixtureCity::schemaScript() const
{
    QString schema = QString::fromUtf8(readFile(QStringLiteral(KVIRZETA_SOURCE_DIR "/sql/schema.sql")));
    if (!m_recipe.keys) {
        // A foreign key needs a unique target, so the references go with the primary keys.
        static const QRegularExpression keys(QStringLiteral("\\s+(PRIMARY KEY|REFERENCES \\w+\\s*\\(\\w+\\))"),
                                             QRegularExpression::CaseInsensitiveOption);
        schema.remove(keys);
    }
    return schema;
}

void FixtureCity::buildDatabase()
{
    withDatabase(sqliteConnectionString(file(QStringLiteral("city.db"))), [this](QSqlDatabase &db) {
        db.transaction();
        runScript(db, schemaScript());
        runScript(db, QString::fromUtf8(readFile(m_recipe.dataScript)));
        // Every blob cell holding a picture request becomes a small picture of its own colour.
        QSqlQuery query(db);
        for (const QString &column : {QStringLiteral("tree_Logo"), QStringLiteral("map_Logo"),
                                     QStringLiteral("sareklamo_failis_logo")}) {
            exec(query, QStringLiteral("SELECT rowid, %1 FROM obieqtis_logo WHERE typeof(%1)='text' AND %1 LIKE 'JPEG%'")
                            .arg(column));
            QList<std::pair<qint64, QString>> rows;
            while (query.next())
                rows.append({query.value(0).toLongLong(), query.value(1).toString()});
            QSqlQuery update(db);
            update.prepare(QStringLiteral("UPDATE obieqtis_logo SET %1=? WHERE rowid=?").arg(column));
            for (const auto &[row, request] : rows) {
                QImage image(pictureSize(column), QImage::Format_RGB32);
                image.fill(pictureColour(row, column));
                const QByteArray picture = pictureFor(request, image);
                if (picture.isEmpty())
                    fail(QStringLiteral("unknown picture request '%1'").arg(request));
                update.addBindValue(picture);
                update.addBindValue(row);
                if (!update.exec())
                    fail(update.lastError().text());
            }
        }
        db.commit();
    });
}

// A fresh database on the server, made from the schema and filled with city.db's rows in their
// order, blobs bound as they are. Names sort by code point there too (C collation), as in SQLite.
void FixtureCity::copyToServer()
{
    // The first city of a recipe in a test program is copied row by row into a template; the
    // others are file copies of it, several times faster. Templates go when the application
    // object does.
    static QHash<QString, ServerDatabase *> templates;
    ServerDatabase *&cityTemplate = templates[m_recipe.name];
    if (!cityTemplate) {
        copyRowsToServer();
        cityTemplate = m_server.release();
        if (templates.size() == 1)
            qAddPostRoutine([] {
                qDeleteAll(templates);
                templates.clear();
            });
    }
    m_server = std::make_unique<ServerDatabase>(cityTemplate->name());
}

void FixtureCity::copyRowsToServer()
{
    m_server = std::make_unique<ServerDatabase>();
    withDatabase(sqliteConnectionString(file(QStringLiteral("city.db"))), [&](QSqlDatabase &source) {
        withDatabase(m_server->connectionString(), [&](QSqlDatabase &target) {
            try {
                SqlScript::createSchema(target, schemaScript());
            } catch (const Error &e) {
                fail(e.text());
            }
            target.transaction();
            QSqlQuery tables(source);
            exec(tables, QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' ORDER BY rowid"));
            while (tables.next()) {
                const QString table = tables.value(0).toString();
                // Generated columns are computed by the server itself.
                QSqlQuery columns(target);
                exec(columns, QStringLiteral("SELECT column_name FROM information_schema.columns WHERE "
                                             "table_schema=current_schema() AND table_name='%1' AND "
                                             "is_generated='NEVER' ORDER BY ordinal_position")
                                  .arg(table.toLower()));
                QStringList names;
                while (columns.next())
                    names.append(columns.value(0).toString());
                const QString list = names.join(QStringLiteral(", "));
                QSqlQuery rows(source);
                exec(rows, QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(list, table));
                QSqlQuery insert(target);
                insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(table, list, QStringList(names.size(), QStringLiteral("?")).join(QStringLiteral(", "))));
                while (rows.next()) {
                    for (int i = 0; i < names.size(); ++i) {
                        // An empty blob arrives as a null byte array, which the server would
                        // store as NULL.
                        const QVariant value = rows.value(i);
                        const bool emptyBlob = !value.isNull() && value.typeId() == QMetaType::QByteArray &&
                                               value.toByteArray().isNull();
                        insert.addBindValue(emptyBlob ? QVariant(QByteArray("", 0)) : value);
                    }
                    if (!insert.exec())
                        fail(QStringLiteral("%1: %2").arg(table, insert.lastError().text()));
                }
            }
            target.commit();
        });
    });
}

void FixtureCity::buildFiles()
{
    write(QStringLiteral("Address.ini"), addressIni().toUtf8() + '\n');
    write(QStringLiteral("Raster/Tbilisi.bmp"),
          encode(raster(Fixture::GeneralMapWidth, Fixture::GeneralMapHeight, QColor(230, 240, 220)), "BMP"));
    int hue = 0;
    for (const QString &sheet : m_recipe.sheets) {
        const QByteArray jpeg =
            encode(raster(Fixture::SheetWidth, Fixture::SheetHeight, QColor::fromHsv(hue, 40, 240)), "JPEG");
        write(QStringLiteral("Raster/%1.jpg").arg(sheet),
              m_recipe.truncatedSheets.contains(sheet) ? jpeg.left(jpeg.size() / 3) : jpeg);
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
    withDatabase(sqliteConnectionString(file(QStringLiteral("city.db"))), [&](QSqlDatabase &db) {
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

QByteArray FixtureCity::contentDigest() const
{
    return contentDigest(writableConnectionString());
}

QByteArray FixtureCity::contentDigest(const QString &connectionString)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    withDatabase(connectionString, [&](QSqlDatabase &db) {
        QStringList tables = db.tables(QSql::TableType(QSql::Tables | QSql::Views));
        // The engine's own tables (SQLite's planner statistics) are no part of the content.
        tables.removeIf([](const QString &table) { return table.startsWith(QLatin1String("sqlite_")); });
        std::sort(tables.begin(), tables.end(),
                  [](const QString &a, const QString &b) { return a.toLower() < b.toLower(); });
        for (const QString &table : tables) {
            hash.addData(QByteArray(table.toLower().toUtf8() + '\n'));
            for (const QString &row : tableRows(db, table))
                hash.addData(QByteArray(row.toUtf8() + '\n'));
        }
    });
    return hash.result();
}

void FixtureCity::execSql(const QString &sql)
{
    withDatabase(writableConnectionString(), [&](QSqlDatabase &db) {
        db.transaction();
        runScript(db, sql);
        db.commit();
    });
}

ServerDatabase::ServerDatabase(const QString &templateName)
    : m_name(QStringLiteral("kvirzeta_test_%1_%2")
                 .arg(QCoreApplication::applicationPid())
                 .arg(QUuid::createUuid().toString(QUuid::Id128).left(12)))
{
    const QString maintenance = serverConnectionString(QStringLiteral("postgres"));
    const QString probe = uniqueConnectionName();
    try {
        Connection::openSession(maintenance, probe, Connection::Access::ReadWrite).close();
    } catch (const Error &e) {
        QSqlDatabase::removeDatabase(probe);
        skipProgram(QStringLiteral("cannot reach the PostgreSQL server: ") + e.text());
    }
    QSqlDatabase::removeDatabase(probe);
    withDatabase(maintenance, [&](QSqlDatabase &db) {
        QSqlQuery query(db);
        if (templateName.isEmpty())
            exec(query, QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C'")
                            .arg(m_name));
        else
            exec(query, QStringLiteral("CREATE DATABASE %1 TEMPLATE %2 STRATEGY FILE_COPY").arg(m_name, templateName));
    });
}

ServerDatabase::~ServerDatabase()
{
    // FORCE ends sessions a test left open on the database.
    withDatabase(serverConnectionString(QStringLiteral("postgres")), [&](QSqlDatabase &db) {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_name)))
            qWarning("ServerDatabase: cannot drop %s: %s", qPrintable(m_name), qPrintable(query.lastError().text()));
    });
}

QString ServerDatabase::connectionString() const
{
    return serverConnectionString(m_name);
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
