#pragma once
// A small but complete city built at test time in a temporary folder:
//
//   city.db                        SQLite database: sql/schema.sql + tests/fixtures/city.sql,
//                                  with small JPEG pictures bound into the logo columns
//   Address.ini                    "Provider=SQLite;Data Source=city.db" and a line break
//   Raster/Tbilisi.bmp             general map, 500 x 375
//   Raster/A1.jpg B2 B3 C3 F5      detailed sheets, 400 x 300 each (no other sheet exists)
//   pictures/icons/yellow.bmp      16 x 16   } white background (also their bottom-left pixel)
//   pictures/icons/Street.bmp      12 x 12   } with a coloured disc in the middle
//   pictures/icons/Active_ Street.bmp 12 x 12
//   pictures/icons/Stop.bmp        10 x 10
//   pictures/icons/Active_Stop.bmp 10 x 10
//   Kvirzeta.pdf                   a dummy help document
//
// The folder names are in lower case on purpose: the program asks for ".\Pictures\Icons\...".
// The notable records are named below; tests/fixtures/city.sql holds every row.
//
//   FixtureCity city;
//   ScopedCurrentDir here(city.path());      // relative program paths now resolve in the city
//   dm.ADOConn.setConnectionString(city.connectionString());
//
// The database backend comes from the environment, so that every suite runs unchanged on each:
//   KVIRZETA_TEST_BACKEND=sqlite (default)   city.db itself
//   KVIRZETA_TEST_BACKEND=postgresql         a fresh database per city on the server named by
//                                            KVIRZETA_TEST_POSTGRESQL ("Host=..;Port=..;User ID=..;
//                                            Password=.."), a copy of city.db's rows and pictures;
//                                            it is dropped with the city
//   KVIRZETA_TEST_BACKEND=odbc               city.db through unixODBC and the SQLite ODBC driver
// Address.ini and connectionString() then name that database. When the backend cannot be reached
// the whole test program is skipped (exit code 77) with a message saying why.
#include <QByteArray>
#include <QColor>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <iterator>
#include <memory>

namespace Fixture {

// Rubrics (by name: 2, 4, 3, 1; database order 1, 2, 3, 4).
constexpr int TradeRubric = 1;     // "vaWroba": sub-rubrics 120 and 121
constexpr int BankRubric = 2;      // "bankebi": 101, 102
constexpr int FoodRubric = 3;      // "kveba": 110, 111
constexpr int HotLineRubric = 4;   // "cxeli xazi": 172
constexpr int RubricCount = 4;

// Sub-rubrics.
constexpr int SupermarketSubRubric = 120;
constexpr int EmptySubRubric = 121;     // "wignebi": no object
constexpr int BankSubRubric = 101;
constexpr int MicroCreditSubRubric = 102;
constexpr int RestaurantSubRubric = 110;
constexpr int CafeSubRubric = 111;
constexpr int HotLineSubRubric = 172;
constexpr int SubRubricCount = 7;

// Districts: 1 "vake", 2 "saburTalo", 3 "Zveli Tbilisi", 4 "didube" (by name 3, 4, 2, 1).
constexpr int DistrictCount = 4;
// Street types: 1 "quCa", 2 "gamziri", 3 "Sesaxvevi".
constexpr int StreetTypeCount = 3;

// Objects (obieqtis_kodi). Every listed object has tree_Logo, map_Logo and sareklamo_failis_logo
// pictures and a sheet position unless said otherwise.
constexpr int BankObject = 1001;           // "Tbilisi banki" B2 (40, 50); advertising "tbank.pdf"; e-mail, web
constexpr int NoAdvertObject = 1002;       // "liberTi" C3 (62.5, 37.5); sareklamo_faili null
constexpr int NoLogoObject = 1003;         // "kredo" A1; tree_Logo and map_Logo null; telefoni and faqsi null,
                                           // el_fosta and veb_gverdi empty; advertising "kredo.txt"
constexpr int MenuObjectA = 1004;          // "Sua qalaqi" B3; advertising file named "menu.pdf"
constexpr int MenuObjectB = 1005;          // "mravalJamieri" B3; another "menu.pdf" with other bytes
constexpr int SameNameObjectA = 1006;      // "kafe galerea" C3 (45, 55)
constexpr int SameNameObjectB = 1007;      // "kafe galerea" F5 (20, 30), same sub-rubric 111
constexpr int ApostropheObject = 1008;     // "d'artaniani" A1
constexpr int NoLogoRowObject = 1009;      // "ioli": no obieqtis_logo row, so never in the object list
constexpr int TwoLogoRowsObject = 1010;    // "karfuri" A1: two logo rows (the second without map_Logo
                                           // and advertising file), listed twice
constexpr int NoSheetObject = 1011;        // "gudvili": ruka_kodi empty, sub-rubric 120
constexpr int HotLineObject = 1012;        // "cxeli xazi 112": sub-rubric 172, ruka_kodi empty, x/y null
constexpr int HotLineNullSheetObject = 1013; // "gazis cxeli xazi": sub-rubric 172, ruka_kodi null, x/y null
constexpr int UnknownSheetObject = 1014;   // "ucnobi furceli": ruka_kodi "Z9"
constexpr int NoPositionObject = 1015;     // "uadgilo": A1 with x and y null
constexpr int LostSubRubricObject = 1016;  // "dakarguli": sub-rubric 999 does not exist, never listed
constexpr int BrokenLogoObject = 1017;     // "gatexili logo" F5: all three pictures are not JPEG data
constexpr int ObjectCount = 17;            // rows of obieqti
constexpr int ObjectListRows = 16;         // rows of the unfiltered object list (obieqti_logo_Qr)

// Streets (quCa_kodi): 12 in all; per district 1: 4, 2: 2, 3: 3, 4: 3.
constexpr int StreetCount = 12;
constexpr int SameNameStreetA = 10;        // "gorgasalis quCa", district 3, C3
constexpr int SameNameStreetB = 11;        // "gorgasalis quCa", district 4, F5
constexpr int NoSheetStreet = 12;          // "axali quCa", district 1, ruka_kodi empty

// Transport: types 1 "avtobusi", 2 "metro", 3 "marSrutka" (no route).
constexpr int BusType = 1;
constexpr int MetroType = 2;
constexpr int RouteCount = 3;
constexpr int Route1 = 1;                  // bus "1": stops 3, 2, 1, 1001, 9, 7 in route order
constexpr int Route10 = 2;                 // bus "10": stops 4, 1, 8, 4 (a loop: 4 twice)
constexpr int RouteM1 = 3;                 // metro "M1": stops 5, 6, 7, 8
constexpr int RouteStopRows = 14;          // rows of the unfiltered route-stop list
// Links are stored out of route order, so the database order is not the order of n.

// Stops (gaCereba_kodi): 11 in all.
constexpr int StopCount = 11;
constexpr int SharedStop = 1;              // "rusTavelis moedani" C3, on routes "1" (n 3) and "10" (n 2)
constexpr int LoopStop = 4;                // "saburTalo" A1, twice on route "10" (n 1 and 4)
constexpr int NearBankStop = 9;            // "bankis kuTxe" B2 (44.5, 47), near object 1001
constexpr int UnlinkedStop = 10;           // "Sori gaCereba" B2 (80, 80), on no route
constexpr int ObjectKeyStop = 1001;        // "bankTan" B2 (42, 51): same key as object 1001, beside it

// Rasters.
constexpr int GeneralMapWidth = 500;
constexpr int GeneralMapHeight = 375;
constexpr int SheetWidth = 400;
constexpr int SheetHeight = 300;
inline const char *const Sheets[] = {"A1", "B2", "B3", "C3", "F5"};
inline const QColor IconBackground{255, 255, 255};

} // namespace Fixture

// What a city is built from. The default is the fixture city above; other cities (HostileCity)
// name another data script and leave things out.
struct CityRecipe {
    // Names the city's template database on the PostgreSQL backend: one per recipe and program.
    QString name = QStringLiteral("city");
    // Rows, run on the tables of sql/schema.sql. A blob cell holding one of the texts 'JPEG',
    // 'JPEG truncated' (its first third), 'JPEG corrupt' (the scan data overwritten), 'JPEG huge'
    // (a header claiming 65,000 x 65,000 pixels) or 'JPEG tall' (1 x 65,000) becomes that picture.
    QString dataScript = QStringLiteral(KVIRZETA_FIXTURE_DIR "/city.sql");
    // False: the tables are made without PRIMARY KEY and REFERENCES, as a database made by
    // someone else may be, so that keys can repeat.
    bool keys = true;
    // The sheet rasters written; the sheets in `truncatedSheets` are cut after a third.
    QStringList sheets{std::begin(Fixture::Sheets), std::end(Fixture::Sheets)};
    QStringList truncatedSheets;
};

class FixtureCity {
public:
    enum class Backend { SQLite, PostgreSQL, Odbc };
    // The backend of this test run, from KVIRZETA_TEST_BACKEND.
    static Backend backend();
    static QString backendName();

    // Builds the whole city; a failure is a broken test set-up and aborts with a message.
    explicit FixtureCity(const CityRecipe &recipe = CityRecipe());
    ~FixtureCity();
    FixtureCity(const FixtureCity &) = delete;
    FixtureCity &operator=(const FixtureCity &) = delete;

    // The city's folder (absolute, no trailing separator).
    QString path() const;
    // Absolute path of a file of the city, e.g. file("Raster/Tbilisi.bmp").
    QString file(const QString &relative) const;
    // A connection string with the database's absolute path, usable from any current directory.
    QString connectionString() const;
    // The connection string that Address.ini holds (a database path relative to the city).
    QString addressIni() const;
    // The JPEG bytes that were bound into a logo column of an object's first logo row.
    QByteArray picture(int objectKey, const QString &column) const;
    // A digest of the database's whole content, read through a connection of its own: the names
    // of its tables and every row of each. Equal digests mean nothing was written.
    QByteArray contentDigest() const;
    // The same for any database a connection string names. Table names are taken in lower case
    // and rows in sorted order, so that equal catalogues on two backends have equal digests.
    static QByteArray contentDigest(const QString &connectionString);

    // Variants for failure tests.
    void remove(const QString &relative);
    void write(const QString &relative, const QByteArray &content);
    // Runs statements on the backend's database through a writable connection of its own, which
    // is closed again before returning. Fails the test set-up on an SQL error.
    void execSql(const QString &sql);

    // The colour of the JPEG made for a row and column; tests compare decoded pixels with it.
    static QColor pictureColour(qint64 rowId, const QString &column);

private:
    void buildDatabase();
    void buildFiles();
    void copyToServer();
    void copyRowsToServer();
    // A writable connection string for the backend's database.
    QString writableConnectionString() const;
    // sql/schema.sql, without its keys when the recipe says so.
    QString schemaScript() const;

    CityRecipe m_recipe;
    QTemporaryDir m_dir;
    std::unique_ptr<class ServerDatabase> m_server; // the city's database on the PostgreSQL backend
};

// An empty database of its own on the PostgreSQL test server (KVIRZETA_TEST_POSTGRESQL), made with
// code-point collation and dropped with the object. The fixture city is copied into one; tests of
// tools that write a database use one directly. Skips the test program when there is no server.
class ServerDatabase {
public:
    // Empty, or a file copy of the database named `templateName` when one is given.
    explicit ServerDatabase(const QString &templateName = QString());
    ~ServerDatabase();
    ServerDatabase(const ServerDatabase &) = delete;
    ServerDatabase &operator=(const ServerDatabase &) = delete;

    const QString &name() const { return m_name; }
    // "Provider=PostgreSQL;Host=..;Port=..;User ID=..;Password=..;Database=<name>"
    QString connectionString() const;

private:
    QString m_name;
};

// Makes a folder the current directory for a scope and restores the previous one afterwards.
class ScopedCurrentDir {
public:
    explicit ScopedCurrentDir(const QString &dir);
    ~ScopedCurrentDir();
    ScopedCurrentDir(const ScopedCurrentDir &) = delete;
    ScopedCurrentDir &operator=(const ScopedCurrentDir &) = delete;

private:
    QString m_previous;
};
