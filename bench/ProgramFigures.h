#pragma once
// The figures measured inside one running program on the bench city: the commands are the
// program's own, triggered as the user triggers them, and every timed step ends with a
// synchronous repaint of what it changed, so a figure is what the user waits for.
#include <QString>
#include <functional>

class DataModule;
class DataSet;
class Prompts;
class Report;
class SearchService;
class TMainFrm;
struct MainState;
struct MapEngine;

// Runs the event loop until the object list, read in the background, has its rows; false when
// the read ended without them.
bool waitUntilListed(DataSet &list);
// The same for the search box's index; false when it could not be read.
bool waitUntilSearchable(SearchService &search);

class ProgramFigures {
public:
    // `prompts` are the program's message windows (the bench's, which never wait).
    ProgramFigures(TMainFrm &window, Prompts &prompts, int runs, Report &report);

    void objectList();    // the object tab's first show against the raw query; memory growth
    void objectSearch();  // a name search against the raw query and against its WHERE clause alone
    // With 1,000 and 10,000 object markers: zoom in and out (3), the focused object on the
    // general map (8) and on its sheet (9).
    void objectMarkers();
    void rubric();        // a rubric's objects on the general map
    void streetAndStopMarkers(); // a street and a stop on the general map among many markers (10)
    // The search box (12): its index's build time and memory, against the object list's load and
    // the database's size; and 50 names typed into the box letter by letter, a third as they are,
    // a third with one typo, a third with the case of every letter turned: each keystroke until
    // the drop-down is repainted, p95 without and with typos.
    void searchBox();
    // In `largeRasters` (a folder with the same database and large rasters):
    void sheetSwitch(const QString &largeRasters);  // a 4000 × 3000 sheet against djpeg
    void largeMapZoom(const QString &largeRasters); // 200 % on an 8000 × 6000 general map

private:
    // Median wall time of the raw query over `runs` runs: forward only, every value read.
    double rawQuery(const QString &sql);
    QVector<double> timed(const std::function<void()> &prepare, const std::function<void()> &work);
    // Searches by sub-rubric and district (empty: none) and shows the focused object's rubric.
    void searchBy(const QString &subRubric, const QString &district);
    void showRubric();
    // Names of the sub-rubric (and district) whose objects number closest to `count`.
    std::pair<QString, QString> groupOfAbout(int count, bool withDistrict);
    void repaintMap();
    // Median time of `command` (ending with a repaint of the map) over the runs, after one run
    // that is not timed (a first run may load a raster or open a data set).
    double medianOf(const std::function<void()> &command);
    // A figure measured with many and with few markers: bars `maxMs` and 12 × the few.
    void addScaling(const QString &figure, int many, double manyMs, int few, double fewMs, double maxMs);
    // Size of the database, for the memory figure (0 when unknown).
    double databaseBytes();
    // Opens the object list as its tab's first show does: the time until its rows are in and
    // painted, and the resident memory it adds.
    std::pair<double, double> showClosedList();

    TMainFrm &m_window;
    Prompts &m_prompts;
    MapEngine &m_map;
    DataModule &m_dm;
    MainState &m_state;
    int m_runs;
    Report &m_report;
    double m_listLoadMs = 0; // figure 2's median, once measured
};
