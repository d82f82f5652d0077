#include "data/Connection.h"

#include "common/Errors.h"
#include "platform/FileLookup.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

Connection::Connection(QString connectionName) : m_name(std::move(connectionName)) {}

Connection::~Connection()
{
    close();
    if (QSqlDatabase::contains(m_name))
        QSqlDatabase::removeDatabase(m_name);
}

QMap<QString, QString> Connection::parse(const QString &text)
{
    QMap<QString, QString> pairs;
    int i = 0;
    const int n = text.size();
    while (i < n) {
        const int eq = text.indexOf(QLatin1Char('='), i);
        if (eq < 0)
            break;
        const QString key = text.mid(i, eq - i).trimmed().toLower();
        i = eq + 1;
        while (i < n && text[i].isSpace())
            ++i;
        QString value;
        if (i < n && (text[i] == QLatin1Char('"') || text[i] == QLatin1Char('\''))) {
            const QChar quote = text[i];
            const int end = text.indexOf(quote, i + 1);
            value = text.mid(i + 1, (end < 0 ? n : end) - i - 1);
            i = end < 0 ? n : end + 1;
            const int semi = text.indexOf(QLatin1Char(';'), i);
            i = semi < 0 ? n : semi + 1;
        } else {
            const int semi = text.indexOf(QLatin1Char(';'), i);
            value = text.mid(i, (semi < 0 ? n : semi) - i).trimmed();
            i = semi < 0 ? n : semi + 1;
        }
        if (!key.isEmpty())
            pairs.insert(key, value);
    }
    return pairs;
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
            openSqlite(m_name, pairs);
        else if (provider == QLatin1String("postgresql") || provider == QLatin1String("postgres"))
            openPostgres(m_name, pairs);
        else if (provider.startsWith(QLatin1String("msdasql")))
            openOdbc(m_name, pairs);
        else if (provider.isEmpty())
            throw Error(QStringLiteral("The connection string names no Provider"));
        else
            throw Error(QStringLiteral("Provider cannot be found: %1").arg(pairs.value(QStringLiteral("provider"))));
    } catch (...) {
        if (QSqlDatabase::contains(m_name))
            QSqlDatabase::removeDatabase(m_name);
        throw;
    }
}

void Connection::close()
{
    if (QSqlDatabase::contains(m_name)) {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            if (db.isOpen())
                db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
}

bool Connection::isOpen() const
{
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

QSqlDatabase Connection::database()
{
    open();
    return QSqlDatabase::database(m_name, false);
}
