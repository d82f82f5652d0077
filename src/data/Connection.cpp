#include "data/Connection.h"

#include "common/Errors.h"
#include "platform/FileLookup.h"
#include "platform/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>

Connection::Connection(QString connectionName) : m_name(std::move(connectionName))
{
    static std::atomic<int> instances{0};
    m_sqlName = m_name + QLatin1Char('#') + QString::number(++instances);
}

Connection::~Connection()
{
    close();
    if (QSqlDatabase::contains(m_sqlName))
        QSqlDatabase::removeDatabase(m_sqlName);
}

QMap<QString, QString> Connection::parse(const QString &text)
{
    // One pass from left to right: every character is looked at a bounded number of times, so
    // that no text, however long or odd, takes more than linear time.
    QMap<QString, QString> pairs;
    const qsizetype n = text.size();
    const auto nextSemicolon = [&](qsizetype from) {
        while (from < n && text[from] != QLatin1Char(';'))
            ++from;
        return from;
    };
    qsizetype i = 0;
    while (i < n) {
        const qsizetype keyStart = i;
        while (i < n && text[i] != QLatin1Char('=') && text[i] != QLatin1Char(';'))
            ++i;
        if (i == n)
            break; // a last segment without "=" carries no pair
        if (text[i] == QLatin1Char(';')) {
            // A segment without "=" carries no pair; skip it rather than glue it to the next key.
            ++i;
            continue;
        }
        const QString key = text.mid(keyStart, i - keyStart).trimmed().toLower();
        ++i;
        while (i < n && text[i].isSpace())
            ++i;
        QString value;
        if (i < n && (text[i] == QLatin1Char('"') || text[i] == QLatin1Char('\''))) {
            // A quoted value runs to the matching quote; a doubled quote inside stands for one.
            const QChar quote = text[i++];
            while (i < n) {
                if (text[i] == quote) {
                    if (i + 1 < n && text[i + 1] == quote) {
                        value += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text[i++];
            }
            i = nextSemicolon(i) + 1;
        } else {
            const qsizetype end = nextSemicolon(i);
            value = text.mid(i, end - i).trimmed();
            i = end + 1;
        }
        if (!key.isEmpty())
            pairs.insert(key, value);
    }
    return pairs;
}

QString Connection::readConnectionFile(const QString &path)
{
    QFile file(FileLookup::find(path));
    QString reason;
    if (!RegularFile::open(file, path, &reason))
        throw Error(QStringLiteral("Cannot open file \"%1\". %2").arg(path, reason));
    // Read no more than a connection string can need: a huge file (or a device that never ends)
    // is refused at once.
    const QByteArray bytes = file.read(MaxConnectionFileBytes + 1);
    if (bytes.size() > MaxConnectionFileBytes)
        throw Error(QStringLiteral("\"%1\" is larger than %2 KB, far more than a connection string needs")
                        .arg(path)
                        .arg(MaxConnectionFileBytes / 1024));
    QString text = QString::fromUtf8(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

namespace {

using Access = Connection::Access;

QString driverMessage(const QSqlError &e)
{
    for (const QString &text : {e.databaseText().trimmed(), e.driverText().trimmed()})
        if (!text.isEmpty())
            return text;
    return QStringLiteral("The database could not be reached, and its driver gave no reason");
}

void requireDriver(const QString &driver)
{
    if (!QSqlDatabase::isDriverAvailable(driver))
        throw Error(QStringLiteral("Database driver %1 is not installed").arg(driver));
}

// Runs a statement of the session's own set-up; throws with the database's message.
void setUp(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        throw Error(driverMessage(query.lastError()));
}

bool succeeds(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    return query.exec(sql);
}

// SQLite's own switches, whichever way the file is reached. The transliteration tells letters
// apart by case, so LIKE must too; query_only makes the engine refuse every change.
void setUpSqlite(QSqlDatabase &db, Access access)
{
    setUp(db, QStringLiteral("PRAGMA case_sensitive_like=ON"));
    if (access == Access::ReadOnly)
        setUp(db, QStringLiteral("PRAGMA query_only=ON"));
}

void openSqlite(QSqlDatabase &db, const QMap<QString, QString> &pairs, Access access)
{
    const QString source = pairs.value(QStringLiteral("data source"));
    if (source.isEmpty())
        throw Error(QStringLiteral("The connection string names no Data Source"));
    const QString path = FileLookup::find(source);
    // The driver would create a missing file; the program must never do so. Nor may it open a
    // FIFO or a device, which could keep it waiting.
    RegularFile::require(path, source);
    if (access == Access::ReadOnly && !QFileInfo(path).isFile())
        throw Error(QStringLiteral("Database file not found: %1").arg(source));
    db.setDatabaseName(path);
    if (access == Access::ReadOnly)
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open())
        throw Error(driverMessage(db.lastError()));
    // A file that is not a database opens without complaint; the first read reveals it.
    setUp(db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
    setUpSqlite(db, access);
}

// A server may be set to read a backslash in a string literal as an escape; the program's SQL
// carries the user's text in literals, where a backslash must stand for itself.
void setUpPostgres(QSqlDatabase &db, Access access)
{
    setUp(db, QStringLiteral("SET standard_conforming_strings = on"));
    if (access == Access::ReadOnly)
        setUp(db, QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY"));
}

void openPostgres(QSqlDatabase &db, const QMap<QString, QString> &pairs, Access access)
{
    db.setHostName(pairs.value(QStringLiteral("host"), pairs.value(QStringLiteral("server"))));
    const QString port = pairs.value(QStringLiteral("port"));
    if (!port.isEmpty()) {
        bool ok = false;
        const int number = port.toInt(&ok);
        if (!ok || number <= 0 || number > 65535)
            throw Error(QStringLiteral("Invalid port number: %1").arg(port));
        db.setPort(number);
    }
    db.setDatabaseName(pairs.value(QStringLiteral("database"), pairs.value(QStringLiteral("initial catalog"))));
    db.setUserName(pairs.value(QStringLiteral("user id"), pairs.value(QStringLiteral("uid"))));
    db.setPassword(pairs.value(QStringLiteral("password"), pairs.value(QStringLiteral("pwd"))));
    db.setConnectOptions(QStringLiteral("connect_timeout=10"));
    if (!db.open())
        throw Error(driverMessage(db.lastError()));
    setUpPostgres(db, access);
}

void openOdbc(QSqlDatabase &db, const QMap<QString, QString> &pairs, Access access)
{
    const QString odbc = pairs.value(QStringLiteral("extended properties"));
    if (odbc.isEmpty())
        throw Error(QStringLiteral("The connection string holds no Extended Properties"));
    db.setDatabaseName(odbc);
    QString options = QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=10");
    if (access == Access::ReadOnly)
        options += QStringLiteral(";SQL_ATTR_ACCESS_MODE=SQL_MODE_READ_ONLY");
    db.setConnectOptions(options);
    if (!db.open())
        throw Error(driverMessage(db.lastError()));
    // Most ODBC drivers take the access mode as a mere hint, so the engine behind the source is
    // told itself. Qt knows PostgreSQL by the driver's name of it; SQLite answers to its own
    // version function.
    if (db.driver()->dbmsType() == QSqlDriver::PostgreSQL)
        setUpPostgres(db, access);
    else if (succeeds(db, QStringLiteral("SELECT sqlite_version()")))
        setUpSqlite(db, access);
}

} // namespace

QSqlDatabase Connection::openSession(const QString &connectionString, const QString &qtName, Access access)
{
    const QMap<QString, QString> pairs = parse(connectionString);
    const QString provider = pairs.value(QStringLiteral("provider")).toLower();
    QString driver;
    void (*open)(QSqlDatabase &, const QMap<QString, QString> &, Access) = nullptr;
    if (provider == QLatin1String("sqlite")) {
        driver = QStringLiteral("QSQLITE");
        open = openSqlite;
    } else if (provider == QLatin1String("postgresql") || provider == QLatin1String("postgres")) {
        driver = QStringLiteral("QPSQL");
        open = openPostgres;
    } else if (provider.startsWith(QLatin1String("msdasql"))) {
        driver = QStringLiteral("QODBC");
        open = openOdbc;
    } else if (provider.isEmpty()) {
        throw Error(QStringLiteral("The connection string names no Provider"));
    } else {
        throw Error(QStringLiteral("Provider cannot be found: %1").arg(pairs.value(QStringLiteral("provider"))));
    }
    requireDriver(driver);
    try {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, qtName);
        open(db, pairs, access);
        return db;
    } catch (...) {
        {
            QSqlDatabase db = QSqlDatabase::database(qtName, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(qtName);
        throw;
    }
}

void Connection::open()
{
    if (isOpen())
        return;
    close();
    openSession(m_connectionString, m_sqlName, Access::ReadOnly);
}

void Connection::close()
{
    if (QSqlDatabase::contains(m_sqlName)) {
        {
            QSqlDatabase db = QSqlDatabase::database(m_sqlName, false);
            if (db.isOpen())
                db.close();
        }
        QSqlDatabase::removeDatabase(m_sqlName);
    }
}

bool Connection::isOpen() const
{
    return QSqlDatabase::contains(m_sqlName) && QSqlDatabase::database(m_sqlName, false).isOpen();
}

QSqlDatabase Connection::database()
{
    open();
    return QSqlDatabase::database(m_sqlName, false);
}
