#include "data/DataModule.h"

namespace {

// Multi-line SQL texts are sent with every line followed by CR LF.
QString lines(std::initializer_list<const char *> parts)
{
    QString sql;
    for (const char *line : parts)
        sql += QString::fromUtf8(line) + QStringLiteral("\r\n");
    return sql;
}

const QStringList objectFields = {
    QStringLiteral("obieqtis_kodi"), QStringLiteral("saxeli"), QStringLiteral("misamarTi"),
    QStringLiteral("g_qve_rubrika_kodi"), QStringLiteral("g_raioni_kodi"), QStringLiteral("telefoni"),
    QStringLiteral("faqsi"), QStringLiteral("el_fosta"), QStringLiteral("veb_gverdi"),
    QStringLiteral("saqmianoba"), QStringLiteral("SeniSvna"), QStringLiteral("ruka_kodi"),
    QStringLiteral("x"), QStringLiteral("y")};

const QStringList objectListFields = {
    QStringLiteral("g_obieqti_kodi"), QStringLiteral("g_reklamis_tipi_kodi"), QStringLiteral("tree_Logo"),
    QStringLiteral("map_Logo"), QStringLiteral("sareklamo_failis_logo"), QStringLiteral("sareklamo_faili"),
    QStringLiteral("sareklamo_faili_saxeli"),
    QStringLiteral("obieqtis_kodi"), QStringLiteral("saxeli"), QStringLiteral("misamarTi"),
    QStringLiteral("g_qve_rubrika_kodi"), QStringLiteral("g_raioni_kodi"), QStringLiteral("telefoni"),
    QStringLiteral("faqsi"), QStringLiteral("veb_gverdi"), QStringLiteral("el_fosta"),
    QStringLiteral("saqmianoba"), QStringLiteral("SeniSvna"), QStringLiteral("ruka_kodi"),
    QStringLiteral("x"), QStringLiteral("y"),
    QStringLiteral("rek"), QStringLiteral("rubrika_kodi"), QStringLiteral("qve_rubrika_kodi")};

const QStringList stopFields = {
    QStringLiteral("gaCereba_kodi"), QStringLiteral("g_raioni_kodi"), QStringLiteral("saxeli"),
    QStringLiteral("ruka_kodi"), QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("aRwera")};

} // namespace

const QString DataModule::objectListSelect = QStringLiteral(
    "SELECT obieqtis_logo.*, obieqti.*, qve_rubrika.g_rubrika_kodi as rubrika_kodi, "
    "obieqti.g_qve_rubrika_kodi as qve_rubrika_kodi FROM obieqtis_logo, obieqti, qve_rubrika WHERE ");

const QString DataModule::objectListSql = DataModule::objectListSelect + QStringLiteral(
    "(obieqti.g_qve_rubrika_kodi=qve_rubrika.qve_rubrika_kodi AND obieqtis_logo.g_obieqti_kodi=obieqti.obieqtis_kodi) "
    "ORDER BY g_rubrika_kodi, g_qve_rubrika_kodi");

const QString DataModule::routeStopListSql = QStringLiteral(
    "SELECT gaCereba.*, transporti.saxeli  as saxeoba, transporti.g_transporti_tipi as tipi,  "
    "kavS_transporti_gaCereba.gaCerebis_rigiTi_n as n FROM gaCereba, transporti, kavS_transporti_gaCereba "
    "WHERE kavS_transporti_gaCereba.g_gaCereba_kodi=gaCereba.gaCereba_kodi AND "
    "kavS_transporti_gaCereba.g_transporti_kodi=transporti.transporti_kodi");

DataModule::DataModule(QObject *parent)
    : QObject(parent),
      ADOConn(QStringLiteral("ADOConn")),
      rubrikaQr(QStringLiteral("rubrikaQr"), ADOConn,
                lines({"SELECT * FROM rubrika", "order by saxeli"}),
                {QStringLiteral("rubrika_kodi"), QStringLiteral("saxeli")}, this),
      qve_rubrika_Qr(QStringLiteral("qve_rubrika_Qr"), ADOConn,
                     lines({"SELECT * FROM qve_rubrika ", "order by saxeli"}),
                     {QStringLiteral("qve_rubrika_kodi"), QStringLiteral("g_rubrika_kodi"), QStringLiteral("saxeli")}, this),
      obieqtiQr(QStringLiteral("obieqtiQr"), ADOConn, QStringLiteral("SELECT * FROM obieqti"), objectFields, this),
      obieqti_logo_Qr(QStringLiteral("obieqti_logo_Qr"), ADOConn,
                      lines({"SELECT obieqtis_logo.*, obieqti.*, qve_rubrika.g_rubrika_kodi as rubrika_kodi, obieqti.g_qve_rubrika_kodi as qve_rubrika_kodi ",
                             "FROM obieqtis_logo, obieqti, qve_rubrika ",
                             "WHERE (obieqti.g_qve_rubrika_kodi=qve_rubrika.qve_rubrika_kodi AND obieqtis_logo.g_obieqti_kodi=obieqti.obieqtis_kodi) ",
                             "ORDER BY g_rubrika_kodi, g_qve_rubrika_kodi"}),
                      objectListFields, this),
      RaioniQr(QStringLiteral("RaioniQr"), ADOConn, lines({"SELECT * FROM raioni", "order by saxeli"}),
               {QStringLiteral("raioni_kodi"), QStringLiteral("saxeli")}, this),
      quCisTipi_Qr(QStringLiteral("quCisTipi_Qr"), ADOConn, QStringLiteral("SELECT * FROM quCis_tipi"),
                   {QStringLiteral("quCis_tipi_kodi"), QStringLiteral("aRwera")}, this),
      transportisTipi_Qr(QStringLiteral("transportisTipi_Qr"), ADOConn,
                         QStringLiteral("SELECT * FROM transporti_tipi order by transporti_tipi"),
                         {QStringLiteral("transporti_tipi"), QStringLiteral("saxeli")}, this),
      gaCereba_Qr(QStringLiteral("gaCereba_Qr"), ADOConn, QStringLiteral("SELECT * FROM gaCereba"), stopFields, this),
      kavS_transporti_gaCereba_Qr(
          QStringLiteral("kavS_transporti_gaCereba_Qr"), ADOConn,
          lines({"SELECT gaCereba.*, transporti.saxeli  as saxeoba, transporti.g_transporti_tipi as tipi,  kavS_transporti_gaCereba.gaCerebis_rigiTi_n as n",
                 "FROM gaCereba, transporti, kavS_transporti_gaCereba WHERE kavS_transporti_gaCereba.g_gaCereba_kodi=gaCereba.gaCereba_kodi AND kavS_transporti_gaCereba.g_transporti_kodi=transporti.transporti_kodi"}),
          stopFields + QStringList{QStringLiteral("saxeoba"), QStringLiteral("tipi"), QStringLiteral("n")}, this),
      quCa_Qr(QStringLiteral("quCa_Qr"), ADOConn, QStringLiteral("SELECT * FROM quCa"),
              {QStringLiteral("quCa_kodi"), QStringLiteral("g_raioni_kodi"), QStringLiteral("saxeli"),
               QStringLiteral("g_quCis_tipi"), QStringLiteral("ruka_kodi"), QStringLiteral("x"), QStringLiteral("y")},
              this),
      Qr(QStringLiteral("Qr"), ADOConn,
         lines({"SELECT obieqtis_logo.*, obieqti.*, (obieqti.misamarTi+', '+obieqti.telefoni+', '+obieqti.faqsi+', '+obieqti.saqmianoba) as rek,  qve_rubrika.g_rubrika_kodi as rubrika_kodi, obieqti.g_qve_rubrika_kodi as qve_rubrika_kodi ",
                "FROM obieqtis_logo, obieqti, qve_rubrika ",
                "WHERE (obieqti.g_qve_rubrika_kodi=qve_rubrika.qve_rubrika_kodi AND obieqtis_logo.g_obieqti_kodi=obieqti.obieqtis_kodi) ",
                "ORDER BY g_rubrika_kodi, g_qve_rubrika_kodi"}),
         {}, this),
      Search_qve_rubrika_Qr(QStringLiteral("Search_qve_rubrika_Qr"), ADOConn,
                            lines({"SELECT * FROM qve_rubrika ", "order by saxeli"}),
                            {QStringLiteral("qve_rubrika_kodi"), QStringLiteral("g_rubrika_kodi"), QStringLiteral("saxeli")}, this)
{
    // Object lists leave their pictures and advertising files in the database until a row or a
    // command needs one; an object's logo rows are told apart by these columns.
    const BlobSource objectLogos{QStringLiteral("obieqtis_logo"),
                                 {QStringLiteral("g_obieqti_kodi"), QStringLiteral("g_reklamis_tipi_kodi"),
                                  QStringLiteral("sareklamo_faili_saxeli")},
                                 {QStringLiteral("tree_Logo"), QStringLiteral("map_Logo"),
                                  QStringLiteral("sareklamo_failis_logo"), QStringLiteral("sareklamo_faili")}};
    obieqti_logo_Qr.setBlobSource(objectLogos);
    Qr.setBlobSource(objectLogos);
}

DataModule::~DataModule()
{
    for (DataSet *set : findChildren<DataSet *>())
        set->close();
    ADOConn.close();
}

void DataModule::requery(DataSet &dataSet, const QString &sql)
{
    dataSet.close();
    dataSet.setSql(sql);
    dataSet.open();
}

void DataModule::openCityConnection()
{
    ADOConn.setConnectionString(Connection::readConnectionFile(QStringLiteral(".\\Address.ini")));
    ADOConn.open();
}

void DataModule::ReloadObjectList()
{
    requery(rubrikaQr, QStringLiteral("SELECT * FROM rubrika"));
    requery(qve_rubrika_Qr, QStringLiteral("SELECT * FROM qve_rubrika"));
    requery(obieqti_logo_Qr, objectListSql);
    Q_EMIT listsReloaded();
}

void DataModule::ReloadStreetList()
{
    requery(quCa_Qr, QStringLiteral("SELECT * FROM quCa"));
    Q_EMIT listsReloaded();
}

void DataModule::ReloadRouteStopList()
{
    requery(kavS_transporti_gaCereba_Qr, routeStopListSql);
    Q_EMIT listsReloaded();
}
