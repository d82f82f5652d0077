#pragma once
// SQL scripts for the tools that build a catalogue database (the demo-city generator, the test
// fixtures); the program itself never runs them.
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace SqlScript {
// The statements of a script, split at ";" outside quotes, with "--" comments dropped.
QStringList statements(const QString &script);
// Runs every statement of a script; throws Error with the database's message and the statement.
void run(QSqlDatabase &db, const QString &script);
// The schema names its binary columns BLOB; on PostgreSQL that name becomes a domain over bytea
// (once: an existing one is kept). Other engines know the name already.
void createBlobType(QSqlDatabase &db);
// Creates the catalogue's tables from the schema script on a writable session.
void createSchema(QSqlDatabase &db, const QString &schemaScript);
} // namespace SqlScript
