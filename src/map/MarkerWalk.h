#pragma once
// The records behind a list of markers, found by the key each marker carries in its name.
//
// The data set is read once for the keys of the list's markers (key -> first row holding it), so a
// command that walks thousands of markers reads the data set once and looks each marker up in
// constant time, where locating every marker's record would scan the data set once per marker. A
// key held by several records stands for the first of them, as a locate finds it; a record
// without a key is the record of key 0, as its marker is named.
//
//   MarkerWalk walk(dm.obieqtiQr, QStringLiteral("obieqtis_kodi"), markers.ObjectMarkers());
//   walk.forEach([&](const Marker &marker, const MarkerWalk::Record *record) {
//       if (record) ...  // nullptr: no record holds the marker's key
//   });
//   walk.makeLastFoundCurrent(); // where a locate per marker would have left the data set
//
// The index follows the data set: it is built at the first look-up and again after the data set
// has been reopened. The list must not change while the walk is used.
#include "map/MarkerLayer.h"

#include <QHash>
#include <QMetaObject>
#include <QString>

#include <optional>

class DataSet;

class MarkerWalk {
public:
    // Where a record lies: its sheet code ("" when empty) and its position on that sheet (an
    // empty x or y reads as 0).
    struct Record {
        int row = -1;
        QString code;
        double x = 0;
        double y = 0;
    };

    MarkerWalk(DataSet &records, const QString &keyColumn, const MarkerList &markers);
    ~MarkerWalk();
    MarkerWalk(const MarkerWalk &) = delete;
    MarkerWalk &operator=(const MarkerWalk &) = delete;

    // The first record holding `key`, the key of one of the markers; std::nullopt when none does.
    std::optional<Record> find(int key);
    // Makes the first record holding `key` the data set's current record, as DataSet::locate does;
    // false (and the current record unchanged) when none holds it.
    bool locate(int key);

    // Calls `visit` for every marker in list order, with its record or nullptr.
    template <typename Visit>
    void forEach(Visit &&visit)
    {
        for (const Marker &marker : m_markers) {
            const std::optional<Record> record = find(marker.picture->key());
            visit(marker, record ? &*record : nullptr);
        }
    }

    // Makes the record last found by find() or forEach() the data set's current record.
    void makeLastFoundCurrent();

private:
    void index();

    DataSet &m_records;
    QString m_keyColumn;
    const MarkerList &m_markers;
    int m_codeColumn = -1, m_xColumn = -1, m_yColumn = -1;
    QHash<qint64, int> m_rowOfKey; // the markers' keys -> first row, -1 when none
    bool m_indexed = false;
    int m_lastFound = -1;
    QMetaObject::Connection m_reset;
};
