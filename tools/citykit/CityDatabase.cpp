#include "citykit/CityDatabase.h"

#include "citykit/AdvertPdf.h"
#include "citykit/Interruption.h"
#include "citykit/Pictures.h"
#include "citykit/SheetLayout.h"
#include "data/Connection.h"
#include "sqlscript/SqlScript.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <algorithm>
#include <stdexcept>

namespace CityDatabase {

namespace {

[[noreturn]] void fail(const QString &what, const QSqlError &error)
{
    throw std::runtime_error(QStringLiteral("%1: %2").arg(what, error.text()).toStdString());
}

class Statement {
public:
    Statement(QSqlDatabase db, const QString &sql) : m_query(db), m_sql(sql)
    {
        if (!m_query.prepare(sql))
            fail(sql, m_query.lastError());
    }
    Statement &operator<<(const QVariant &value)
    {
        m_query.addBindValue(value);
        return *this;
    }
    void run()
    {
        if (!m_query.exec())
            fail(m_sql, m_query.lastError());
    }

private:
    QSqlQuery m_query;
    QString m_sql;
};

QVariant text(const QString &value)
{
    return value.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(value);
}

QVariant blob(const QByteArray &value)
{
    return value.isNull() ? QVariant(QMetaType::fromType<QByteArray>()) : QVariant(value);
}

const QVariant NullDouble(QMetaType::fromType<double>());
const QVariant NullInt(QMetaType::fromType<int>());

// A located record's sheet and position on it.
SheetLayout::Place place(const City &city, QPointF metres)
{
    return SheetLayout::locate(city.model->frame.percent(metres));
}

} // namespace

QSqlDatabase openSqlite(const QString &path, const QString &connectionName)
{
    QFile::remove(path);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(path);
    if (!db.open())
        fail(path, db.lastError());
    // The file is written once from scratch: no journal is needed.
    QSqlQuery pragma(db);
    pragma.exec(QStringLiteral("PRAGMA journal_mode=OFF"));
    pragma.exec(QStringLiteral("PRAGMA synchronous=OFF"));
    return db;
}

QSqlDatabase openEmpty(const QString &connectionString, const QString &connectionName)
{
    QSqlDatabase db = Connection::openSession(connectionString, connectionName, Connection::Access::ReadWrite);
    QStringList existing;
    const QStringList tables = db.tables();
    static const QRegularExpression createTable(QStringLiteral("^CREATE\\s+TABLE\\s+(\\w+)"),
                                                QRegularExpression::CaseInsensitiveOption);
    for (const QString &statement : schemaStatements()) {
        const QString name = createTable.match(statement).captured(1);
        if (!name.isEmpty()
            && std::any_of(tables.begin(), tables.end(),
                           [&](const QString &t) { return t.compare(name, Qt::CaseInsensitive) == 0; }))
            existing.append(name);
    }
    if (!existing.isEmpty()) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        throw std::runtime_error(QStringLiteral("The database already holds the tables %1; the demo city is "
                                                "written only into an empty database")
                                     .arg(existing.join(QStringLiteral(", ")))
                                     .toStdString());
    }
    return db;
}

void requireEmpty(const QString &connectionString)
{
    const QString name = QStringLiteral("democity-check-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    openEmpty(connectionString, name).close();
    QSqlDatabase::removeDatabase(name);
}

QString forCity(const QString &connectionString, const QString &cityFolder)
{
    const QMap<QString, QString> pairs = Connection::parse(connectionString);
    const QString source = pairs.value(QStringLiteral("data source"));
    if (pairs.value(QStringLiteral("provider")).compare(QLatin1String("sqlite"), Qt::CaseInsensitive) != 0 || source.isEmpty())
        return connectionString;
    const QFileInfo file(source);
    const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
    const QString real = folder.isEmpty() ? QDir::cleanPath(file.absoluteFilePath()) : folder + QLatin1Char('/') + file.fileName();
    if (real.startsWith(cityFolder + QLatin1Char('/')))
        throw std::runtime_error(QStringLiteral("The database file %1 would lie in %2, which the new city replaces: "
                                                "choose a file outside that folder")
                                     .arg(QDir::toNativeSeparators(source), QDir::toNativeSeparators(cityFolder))
                                     .toStdString());
    if (!file.isRelative())
        return connectionString;
    QString quoted = QDir::cleanPath(file.absoluteFilePath());
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QStringLiteral("Provider=SQLite;Data Source=\"%1\"").arg(quoted);
}

QStringList schemaStatements()
{
    QFile file(QStringLiteral(":/citykit/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("the schema is missing from the generator");
    QString sql;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const int comment = int(line.indexOf(QLatin1String("--")));
        sql += (comment >= 0 ? line.left(comment) : line) + QLatin1Char('\n');
    }
    QStringList statements;
    for (const QString &s : sql.split(QLatin1Char(';')))
        if (!s.trimmed().isEmpty())
            statements.append(s.trimmed());
    return statements;
}

void write(QSqlDatabase db, const City &city, LogoMaker &logos)
{
    const Model &m = *city.model;
    SqlScript::createBlobType(db);
    for (const QString &statement : schemaStatements()) {
        QSqlQuery q(db);
        if (!q.exec(statement))
            fail(statement, q.lastError());
    }
    if (!db.transaction())
        fail(QStringLiteral("begin"), db.lastError());

    // Only the rubrics that file some object: a rubric without any would find nothing.
    QSet<int> usedSubRubrics, usedRubrics;
    for (const ObjectRecord &o : city.objects)
        usedSubRubrics.insert(o.subRubric);
    for (const SubRubric &s : m.subRubrics)
        if (usedSubRubrics.contains(s.code))
            usedRubrics.insert(s.rubric);
    Statement rubric(db, QStringLiteral("INSERT INTO rubrika (rubrika_kodi, saxeli) VALUES (?, ?)"));
    for (const Rubric &r : m.rubrics)
        if (usedRubrics.contains(r.code))
            (rubric << r.code << r.name).run();
    Statement sub(db, QStringLiteral("INSERT INTO qve_rubrika (qve_rubrika_kodi, g_rubrika_kodi, saxeli) VALUES (?, ?, ?)"));
    for (const SubRubric &s : m.subRubrics)
        if (usedSubRubrics.contains(s.code))
            (sub << s.code << s.rubric << s.name).run();
    Statement district(db, QStringLiteral("INSERT INTO raioni (raioni_kodi, saxeli) VALUES (?, ?)"));
    for (int i = 0; i < m.districts.size(); ++i)
        (district << i + 1 << m.districts[i].name).run();
    Statement streetType(db, QStringLiteral("INSERT INTO quCis_tipi (quCis_tipi_kodi, aRwera) VALUES (?, ?)"));
    for (const StreetType &t : m.streetTypes)
        (streetType << t.code << t.description).run();
    Statement transportType(db, QStringLiteral("INSERT INTO transporti_tipi (transporti_tipi, saxeli) VALUES (?, ?)"));
    for (const TransportType &t : m.transportTypes)
        (transportType << t.code << t.name).run();

    Statement street(db, QStringLiteral("INSERT INTO quCa (quCa_kodi, g_raioni_kodi, saxeli, g_quCis_tipi, ruka_kodi, x, y) "
                                        "VALUES (?, ?, ?, ?, ?, ?, ?)"));
    for (const StreetRecord &s : city.streets) {
        const SheetLayout::Place p = place(city, s.marker);
        (street << s.code << s.district + 1 << s.name << s.type << text(p.code) << (p.isValid() ? QVariant(p.x) : NullDouble)
                << (p.isValid() ? QVariant(p.y) : NullDouble))
            .run();
    }
    Statement stop(db, QStringLiteral("INSERT INTO gaCereba (gaCereba_kodi, g_raioni_kodi, saxeli, ruka_kodi, x, y, aRwera) "
                                      "VALUES (?, ?, ?, ?, ?, ?, ?)"));
    for (const StopRecord &s : city.stops) {
        const SheetLayout::Place p = s.located ? place(city, s.position) : SheetLayout::Place();
        (stop << s.code << (s.district >= 0 ? QVariant(s.district + 1) : NullInt) << s.name << text(p.code) << (p.isValid() ? QVariant(p.x) : NullDouble)
              << (p.isValid() ? QVariant(p.y) : NullDouble) << text(s.description))
            .run();
    }
    Statement route(db, QStringLiteral("INSERT INTO transporti (transporti_kodi, g_transporti_tipi, saxeli, aRwera) VALUES (?, ?, ?, ?)"));
    Statement link(db, QStringLiteral("INSERT INTO kavS_transporti_gaCereba (g_transporti_kodi, g_gaCereba_kodi, gaCerebis_rigiTi_n) "
                                      "VALUES (?, ?, ?)"));
    Statement interval(db, QStringLiteral("INSERT INTO transporti_intervali (g_transporti_kodi, wuTebi) VALUES (?, ?)"));
    for (const RouteRecord &r : city.routes) {
        (route << r.code << r.type << r.name << text(r.description)).run();
        for (int i = 0; i < r.stops.size(); ++i)
            (link << r.code << city.stops[r.stops[i]].code << i + 1).run();
        if (r.intervalMinutes > 0)
            (interval << r.code << r.intervalMinutes).run();
    }

    Statement object(db, QStringLiteral(
        "INSERT INTO obieqti (obieqtis_kodi, saxeli, misamarTi, g_qve_rubrika_kodi, g_raioni_kodi, telefoni, faqsi, "
        "el_fosta, veb_gverdi, saqmianoba, SeniSvna, ruka_kodi, x, y) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    Statement logo(db, QStringLiteral(
        "INSERT INTO obieqtis_logo (g_obieqti_kodi, g_reklamis_tipi_kodi, tree_Logo, map_Logo, sareklamo_failis_logo, "
        "sareklamo_faili, sareklamo_faili_saxeli) VALUES (?, ?, ?, ?, ?, ?, ?)"));
    int objects = 0;
    for (const ObjectRecord &o : city.objects) {
        if (++objects % 1024 == 0)
            Interruption::check(); // the logos take their time
        const SheetLayout::Place p = o.located ? place(city, o.position) : SheetLayout::Place();
        (object << o.code << o.name << text(o.address) << o.subRubric << (o.district >= 0 ? QVariant(o.district + 1) : NullInt)
                << text(o.phone) << text(o.fax) << text(o.email) << text(o.web) << text(o.activity) << text(o.note)
                << text(p.code) << (p.isValid() ? QVariant(p.x) : NullDouble) << (p.isValid() ? QVariant(p.y) : NullDouble))
            .run();
        const SubRubric *s = m.subRubric(o.subRubric);
        (logo << o.code << (o.hasAdvert ? 2 : 1) << blob(logos.treeLogo(o))
              << blob(o.hasMapLogo ? logos.mapLogo(o) : QByteArray())
              << blob(o.hasAdvertIcon ? logos.advertIcon(o) : QByteArray())
              << blob(o.hasAdvert ? AdvertPdf::leaflet(o, s ? s->name : QString(), city.size.advertKilobytes * 1024)
                                  : QByteArray())
              << text(o.hasAdvert ? o.advertFileName : QString()))
            .run();
    }
    if (!db.commit())
        fail(QStringLiteral("commit"), db.lastError());
    // Planner statistics, gathered once the tables are filled: with them the engine starts the
    // object search from the objects rather than from their pictures (see "Performance" in the
    // README).
    QSqlQuery analyze(db);
    if (!analyze.exec(QStringLiteral("ANALYZE")))
        fail(QStringLiteral("ANALYZE"), analyze.lastError());
}

} // namespace CityDatabase
