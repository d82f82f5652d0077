#pragma once
// The one database connection (ADOConn). Its connection string is an OLE DB-style text of
// Key=Value; pairs read from Address.ini:
//   Provider=SQLite;Data Source=<file>                                     embedded SQLite file
//   Provider=PostgreSQL;Host=..;Port=..;Database=..;User ID=..;Password=.. shared server
//   Provider=MSDASQL.1;...;Extended Properties="<ODBC string>"             any ODBC source
// The program's session is read-only on every backend: the engine refuses writes (a read-only
// SQLite file, a read-only PostgreSQL session, SQLite's query_only switch behind ODBC), and
// DataSet runs nothing but single SELECT statements.
#include <QMap>
#include <QSqlDatabase>
#include <QString>

class Connection {
public:
    explicit Connection(QString connectionName);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    void setConnectionString(const QString &text) { m_connectionString = text; }
    const QString &connectionString() const { return m_connectionString; }

    // Opens the connection with the string it holds; throws Error with the driver's message.
    void open();
    void close();
    bool isOpen() const;
    // Opens the connection first when it is closed.
    QSqlDatabase database();
    const QString &connectionName() const { return m_name; }

    enum class Access { ReadOnly, ReadWrite };
    // Adds and opens a Qt SQL session called `qtName` on the database a connection string names.
    // The program's own session is ReadOnly; ReadWrite serves the tools that build a database.
    // Throws Error with the driver's message; on failure no session of that name is left.
    static QSqlDatabase openSession(const QString &connectionString, const QString &qtName, Access access);

    // Key=Value pairs of a connection string; keys in lower case and trimmed. A value in double or
    // single quotes is taken as written (a doubled quote stands for one); any other value is
    // trimmed. A later key replaces an earlier one.
    static QMap<QString, QString> parse(const QString &text);

    // The whole text of a connection file such as Address.ini (found without regard to letter
    // case), with every line break made CR LF and nothing trimmed. Throws Error when unreadable
    // or larger than MaxConnectionFileBytes.
    static QString readConnectionFile(const QString &path);
    static constexpr qsizetype MaxConnectionFileBytes = 64 * 1024;

private:
    QString m_name;
    // Qt's name of the session: unique per instance, so that two modules never share one.
    QString m_sqlName;
    QString m_connectionString;
};
