-- The catalogue: eleven tables, and one optional table of route intervals. Written in the SQL
-- that SQLite and PostgreSQL both accept; on PostgreSQL the loader first creates the domain
-- "blob" over bytea.

CREATE TABLE rubrika (
    rubrika_kodi INTEGER PRIMARY KEY,
    saxeli VARCHAR(100)
);

CREATE TABLE qve_rubrika (
    qve_rubrika_kodi INTEGER PRIMARY KEY,
    g_rubrika_kodi INTEGER REFERENCES rubrika(rubrika_kodi),
    saxeli VARCHAR(100)
);

CREATE TABLE raioni (
    raioni_kodi INTEGER PRIMARY KEY,
    saxeli VARCHAR(50)
);

CREATE TABLE obieqti (
    obieqtis_kodi INTEGER PRIMARY KEY,
    saxeli VARCHAR(150),
    misamarTi VARCHAR(50),
    g_qve_rubrika_kodi INTEGER,
    g_raioni_kodi INTEGER,
    telefoni VARCHAR(50),
    faqsi VARCHAR(50),
    el_fosta VARCHAR(50),
    veb_gverdi VARCHAR(50),
    saqmianoba VARCHAR(150),
    SeniSvna VARCHAR(255),
    ruka_kodi VARCHAR(10),
    x DOUBLE PRECISION,
    y DOUBLE PRECISION,
    -- One-line summary shown in the object list: address, telephone, fax and activity.
    rek VARCHAR(255) GENERATED ALWAYS AS (
        COALESCE(misamarTi, '') || ', ' || COALESCE(telefoni, '') || ', ' ||
        COALESCE(faqsi, '') || ', ' || COALESCE(saqmianoba, '')) STORED
);

CREATE TABLE obieqtis_logo (
    g_obieqti_kodi INTEGER,
    g_reklamis_tipi_kodi INTEGER,
    tree_Logo BLOB,
    map_Logo BLOB,
    sareklamo_failis_logo BLOB,
    sareklamo_faili BLOB,
    sareklamo_faili_saxeli VARCHAR(255)
);

CREATE TABLE quCis_tipi (
    quCis_tipi_kodi INTEGER PRIMARY KEY,
    aRwera VARCHAR(50)
);

CREATE TABLE quCa (
    quCa_kodi INTEGER PRIMARY KEY,
    g_raioni_kodi INTEGER,
    saxeli VARCHAR(100),
    g_quCis_tipi INTEGER,
    ruka_kodi VARCHAR(2),
    x DOUBLE PRECISION,
    y DOUBLE PRECISION
);

CREATE TABLE transporti_tipi (
    transporti_tipi INTEGER PRIMARY KEY,
    saxeli VARCHAR(50)
);

CREATE TABLE transporti (
    transporti_kodi INTEGER PRIMARY KEY,
    g_transporti_tipi INTEGER,
    saxeli VARCHAR(10),
    aRwera VARCHAR(50)
);

CREATE TABLE gaCereba (
    gaCereba_kodi SMALLINT PRIMARY KEY,
    g_raioni_kodi INTEGER,
    saxeli VARCHAR(50),
    ruka_kodi VARCHAR(2),
    x DOUBLE PRECISION,
    y DOUBLE PRECISION,
    aRwera VARCHAR(255)
);

CREATE TABLE kavS_transporti_gaCereba (
    g_transporti_kodi INTEGER,
    g_gaCereba_kodi INTEGER,
    gaCerebis_rigiTi_n INTEGER
);

-- Optional: how often a route runs, in minutes (wuTebi). The journey planner waits half of it to
-- board; a city may leave the table out or empty, and a route without a row here then runs at
-- its transport type's default. Made here so that every tool that writes a city can fill it.
CREATE TABLE transporti_intervali (
    g_transporti_kodi INTEGER,
    wuTebi DOUBLE PRECISION
);

-- No index on obieqti (g_qve_rubrika_kodi): with statistics SQLite would read the objects through
-- it, a sub-rubric at a time, instead of scanning them once for the object search.
-- The keys by which lists read an object's picture rows: lists join through this index alone and
-- leave the rows, every picture and advertising file inline, unread until a picture is shown.
CREATE INDEX obieqtis_logo_object ON obieqtis_logo (g_obieqti_kodi, g_reklamis_tipi_kodi, sareklamo_faili_saxeli);
CREATE INDEX quCa_district ON quCa (g_raioni_kodi);
CREATE INDEX route_link_route ON kavS_transporti_gaCereba (g_transporti_kodi);
CREATE INDEX route_link_stop ON kavS_transporti_gaCereba (g_gaCereba_kodi);
