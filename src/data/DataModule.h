#pragma once
// The data module DM1: the one connection ADOConn and every named data set of the program with
// its default SQL and declared field list, plus the operations that put the three lists back on
// their unfiltered SQL.
#include "data/Connection.h"
#include "data/DataSet.h"

#include <QObject>

class DataModule : public QObject {
    Q_OBJECT
public:
    explicit DataModule(QObject *parent = nullptr);
    ~DataModule() override;

    Connection ADOConn;

    DataSet rubrikaQr;
    DataSet qve_rubrika_Qr;
    DataSet obieqtiQr;
    DataSet obieqti_logo_Qr;
    DataSet RaioniQr;
    DataSet quCisTipi_Qr;
    DataSet transportisTipi_Qr;
    DataSet gaCereba_Qr;
    DataSet kavS_transporti_gaCereba_Qr;
    DataSet quCa_Qr;
    DataSet Qr;
    DataSet Search_qve_rubrika_Qr;

    // Reads the connection string from .\Address.ini in the current folder and opens ADOConn with
    // it, as the program does at start-up and each command of the command line does; throws Error.
    void openCityConnection();

    void ReloadObjectList();
    void ReloadStreetList();
    void ReloadRouteStopList();

    // Re-queries a data set: close, replace the SQL text, open.
    static void requery(DataSet &dataSet, const QString &sql);

    // One-line SQL texts shared by the reloads and the searches.
    static const QString objectListSelect;   // "SELECT obieqtis_logo.*, ... WHERE "
    static const QString objectListSql;      // the unfiltered one-line object list
    static const QString routeStopListSql;   // the unfiltered one-line route-stop list

Q_SIGNALS:
    // A list was put back on its unfiltered rows: what is read from the database may have changed.
    void listsReloaded();
};
