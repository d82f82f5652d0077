#include "data/Connection.h"

#include "common/Errors.h"
#include "platform/FileLookup.h"

#include <QFile>
#include <QFileInfo>
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
    QMap<QString, QString> pairs;
    const int n = text.size();
    int i = 0;
    while (i < n) {
        const int eq = text.indexOf(QLatin1Char('='), i);
        const int semi = text.indexOf(QLatin1Char(';'), i);
        if (eq < 0)
            break;
        // A segment without "=" carries no pair; skip it rather than glue it to the next key.
        if (semi >= 0 && semi < eq) {
            i = semi + 1;
            continue;
        }
        const QString key = text.mid(i, eq - i).trimmed().toLower();
        i = eq + 1;
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
            const int next = text.indexOf(QLatin1Char(';'), i);
            i = next < 0 ? n : next + 1;
        } else {
            const int next = text.indexOf(QLatin1Char(';'), i);
            value = text.mid(i, (next < 0 ? n : next) - i).trimmed();
            i = next < 0 ? n : next + 1;
        }
        if (!key.isEmpty())
            pairs.insert(key, value);
    }
    return pairs;
}

QString Connection::readConnectionFile(const QString &path)
{
    QFile file(FileLookup::find(path));
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

namespace {

QString driverMessage(const QSqlDatabase &db)
{
    const QSqlError e = db.lastError();
    QString text = e.databaseText().trimmed();
    if (text.isEmpty())
        text = e.driverText().trimmed();
    if (text.isEmpty())
        text = e.text().trimmed();
    return text;
}

void requireDriver(const QString &driver)
{
    if (!QSqlDatabase::isDriverAvailable(driver))
        throw Error(QStringLiteral("Database driver %1 is not installed").arg(driver));
}

QSqlDatabase openSqlite(const QString &name, const QMap<QString, QString> &pairs)
{
    requireDriver(QStringLiteral("QSQLITE"));
    const QString source = pairs.value(QStringLiteral("data source"));
    if (source.isEmpty())
        throw Error(QStringLiteral("The connection string names no Data Source"));
    const QString path = FileLookup::find(source);
    // The driver would create a missing file; the program must never do so.
    if (!QFileInfo(path).isFile())
        throw Error(QStringLiteral("Database file not found: %1").arg(source));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open())
        throw Error(driverMessage(db));
    QSqlQuery probe(db);
    // A file that is not a database opens without complaint; the first read reveals it.
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        const QString text = probe.lastError().text().trimmed();
        probe = QSqlQuery();
        db.close();
        throw Error(text);
    }
    // The transliteration tells letters apart by case, so LIKE must too.
    probe.exec(QStringLiteral("PRAGMA case_sensitive_like=ON"));
    return db;
}

QSqlDatabase openPostgres(const QString &name, const QMap<QString, QString> &pairs)
{
    requireDriver(QStringLiteral("QPSQL"));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    db.setHostName(pairs.value(QStringLiteral("host"), pairs.value(QStringLiteral("server"))));
    const QString port = pairs.value(QStringLiteral("port"));
    if (!port.isEmpty())
        db.setPort(port.toInt());
    db.setDatabaseName(pairs.value(QStringLiteral("database"), pairs.value(QStringLiteral("initial catalog"))));
    db.setUserName(pairs.value(QStringLiteral("user id"), pairs.value(QStringLiteral("uid"))));
    db.setPassword(pairs.value(QStringLiteral("password"), pairs.value(QStringLiteral("pwd"))));
    db.setConnectOptions(QStringLiteral("connect_timeout=10"));
    if (!db.open())
        throw Error(driverMessage(db));
    QSqlQuery session(db);
    if (!session.exec(QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY"))) {
        const QString text = session.lastError().text().trimmed();
        session = QSqlQuery();
        db.close();
        throw Error(text);
    }
    return db;
}

QSqlDatabase openOdbc(const QString &name, const QMap<QString, QString> &pairs)
{
    requireDriver(QStringLiteral("QODBC"));
    const QString odbc = pairs.value(QStringLiteral("extended properties"));
    if (odbc.isEmpty())
        throw Error(QStringLiteral("The connection string holds no Extended Properties"));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
    db.setDatabaseName(odbc);
    db.setConnectOptions(QStringLiteral("SQL_ATTR_ACCESS_MODE=SQL_MODE_READ_ONLY;SQL_ATTR_LOGIN_TIMEOUT=10"));
    if (!db.open())
        throw Error(driverMessage(db));
    return db;
}

} // namespace

void Connection::open()
{
    if (isOpen())
        return;
    close();
    const QMap<QString, QString> pairs = parse(m_connectionString);
    const QString provider = pairs.value(QStringLiteral("provider")).toLower();
    try {
        if (provider == QLatin1String("sqlite"))
            openSqlite(m_sqlName, pairs);
        else if (provider == QLatin1String("postgresql") || provider == QLatin1String("postgres"))
            openPostgres(m_sqlName, pairs);
        else if (provider.startsWith(QLatin1String("msdasql")))
            openOdbc(m_sqlName, pairs);
        else if (provider.isEmpty())
            throw Error(QStringLiteral("The connection string names no Provider"));
        else
            throw Error(QStringLiteral("Provider cannot be found: %1").arg(pairs.value(QStringLiteral("provider"))));
    } catch (...) {
        if (QSqlDatabase::contains(m_sqlName))
            QSqlDatabase::removeDatabase(m_sqlName);
        throw;
    }
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
