# The Debian package (scripts/package runs cpack): everything the desktop install puts in place
# under /usr, the demo city made at packaging time, and the runtime dependencies. dpkg-shlibdeps
# finds the libraries the programs link (Qt, libjpeg-turbo, expat, zlib, bzip2, libzip); what Qt
# loads as plugins at run time is named here: the SQL drivers and the desktop platform plugins.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kvirzeta)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kvirzeta")
set(CPACK_PACKAGE_CONTACT "Kvirzeta maintainers <maintainers@kvirzeta.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop guide to a city: places, streets, public transport, maps")
set(CPACK_PACKAGE_DESCRIPTION
    "Kvirzeta finds a city's places, streets and public transport routes\n"
    "and shows them on the city's maps. It comes with a demo city of\n"
    "Tbilisi; kvirzeta-import-osm makes a city of one's own from an\n"
    "OpenStreetMap extract and, optionally, the operator's GTFS feed.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-sqlite, libqt6sql6-psql, libqt6sql6-odbc, qt6-qpa-plugins, libqt6svg6, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://kvirzeta.example/")
include(CPack)
