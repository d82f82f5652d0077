#pragma once
// The figures measured inside one running program on the bench city: the commands are the
// program's own, triggered as the user triggers them, and every timed step ends with a
// synchronous repaint of what it changed, so a figure is what the user waits for.
#include <QString>
#include <functional>

class DataModule;
class DataSet;
class Report;
class TMainFrm;
struct MainState;
struct MapEngine;

// Runs the event loop until the object list, read in the background, has its rows; false when
// the read ended without them.
bool waitUntilListed(DataSet &list);

class ProgramFigures {
public:
    ProgramFigures(TMainFrm &window, int runs, Report &report);

    void objectList();   // the object tab's first show against the raw query; memory growth
    void objectSearch(); // a name search against the raw query
    void zoom();         // zoom in and out with 1,000 and 10,000 object markers
    void rubric();       // a rubric's objects on the general map
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

    TMainFrm &m_window;
    MapEngine &m_map;
    DataModule &m_dm;
    MainState &m_state;
    int m_runs;
    Report &m_report;
};
