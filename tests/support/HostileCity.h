#pragma once
// A city whose data is hostile, built like the fixture city (FixtureCity) from
// tests/fixtures/hostile.sql on tables without keys, so that keys repeat:
//
//   - pictures: truncated, corrupt, empty, not a picture, and JPEGs claiming 65,000 x 65,000 and
//     1 x 65,000 pixels, in all three logo columns;
//   - advertising files: empty, not what their names say, named "../../x.pdf", "", ".",
//     "a/b\c.pdf", 255 letters, 255 Georgian letters (too long for a file name), or NULL;
//   - NULL in every nullable column somewhere, names of 150 characters with quotes, "%", "_",
//     backslashes, Georgian and other Unicode and line breaks; markup in every text of one object;
//     backslashes and "!" in an object, a street, a stop and a route;
//   - sheet codes "Z9", "", "b3 ", "b3", and "F5" and "C3" whose sheets are missing;
//     x and y of -1e300, 1e300 (on sheet A1 too), -5 and 100.0001;
//   - duplicate keys in every table, an object with two logo rows, one without a logo row, a
//     stop twice on a route, links to unknown stops and routes.
//
// Rasters: the general map and the icons are sound; of the sheets only A1 exists, and B2 is cut
// after a third of its bytes.
//
//   ProgramRig rig(HostileCity::recipe());
#include "FixtureCity.h"

namespace Hostile {

// Objects (obieqtis_kodi). All are in sub-rubric 10 ("maRaziebi", a key held twice, so each
// is listed twice) unless said otherwise.
constexpr int NormalObject = 2001;        // "Cveulebrivi" A1 (40, 50), sound pictures, "offer.pdf";
                                          // a second obieqti row "Cveulebrivi ori" shares its key
constexpr int LongNameObject = 2002;      // 150-character name, sub-rubric 30; pictures truncated,
                                          // corrupt and huge; advertising file "../../x.pdf"
constexpr int NullObject = 2003;          // every nullable column NULL; map_Logo empty, icon not a
                                          // picture, advertising file empty and named ""
constexpr int NoSubRubricObject = 2004;   // g_qve_rubrika_kodi NULL: never listed
constexpr int UnknownSheetObject = 2005;  // "Z9" (-5, -10)
constexpr int EmptySheetObject = 2006;    // ""
constexpr int LowerCaseSheetObject = 2007; // "b3 " (1e300, -1e300)
constexpr int MissingSheetObject = 2008;  // "F5" (100.0001, 100.0001), no raster; mail and web hostile;
                                          // pictures 1 x 65,000 pixels
constexpr int TruncatedSheetObject = 2009; // "B2" (50, 50), raster truncated
constexpr int TwoLogoRowsObject = 2010;   // A1; second logo row broken, file "a/b\c.pdf"
constexpr int NoLogoRowObject = 2011;     // never listed
constexpr int DotFileObject = 2012;       // advertising file named "."
constexpr int LongFileObject = 2013;      // advertising file name of 255 letters
constexpr int GeorgianFileObject = 2014;  // advertising file name of 255 Georgian letters
constexpr int NoRubricObject = 2015;      // sub-rubric 40, which has no rubric
constexpr int NamelessRubricObject = 2016; // sub-rubric 20 of rubric 2 (both without names), district 2
constexpr int PercentObject = 2017;       // named "%_"
constexpr int NamelessFileObject = 2018;  // advertising file with a NULL name
constexpr int FarOffObject = 2019;        // "Soreuli" A1 (1e300, -1e300); street 9 and stop 9 too
constexpr int MarkupObject = 2020;        // A1; markup in name, address, telephone, fax, activity and
                                          // its district (3) name
constexpr int BackslashObject = 2021;     // "ukana back\slash da !", address "gza\2", telephone "\\ 5"

// Stops and routes.
constexpr int NormalStop = 8;             // "obieqtTan" A1 (40.5, 50.5), beside NormalObject
constexpr int FarOffStop = 9;             // "Soreuli gaCereba" A1 (1e300, -1e300), beside FarOffObject
constexpr int RepeatedStopRoute = 1;      // route "1": stop 1 twice (n 1 and 5)
constexpr int BackslashStreet = 10;       // "back\slash quCa"; street 3's name has a backslash too
constexpr int BackslashStop = 10;         // "back\slash gaCereba" on route "a\b"; stop 3 has one too

inline const char *const PresentSheets[] = {"A1", "B2"}; // B2 truncated

} // namespace Hostile

namespace HostileCity {
CityRecipe recipe();
} // namespace HostileCity
