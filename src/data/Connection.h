#pragma once
// The one database connection (ADOConn). Its connection string is an OLE DB-style text of
// Key=Value; pairs read from Address.ini:
//   Provider=SQLite;Data Source=<file>                                     embedded SQLite file
//   Provider=PostgreSQL;Host=..;Port=..;Database=..;User ID=..;Password=.. shared server
//   Provider=MSDASQL.1;...;Extended Properties="<ODBC string>"             any ODBC source
// The session is opened read-only wherever the driver allows it.
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

    // Key=Value pairs of a connection string; keys in lower case, values unquoted and trimmed.
    static QMap<QString, QString> parse(const QString &text);

private:
    QString m_name;
    QString m_connectionString;
};
