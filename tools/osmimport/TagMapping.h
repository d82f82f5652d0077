#pragma once
// The tables that say what OpenStreetMap's tags mean in the catalogue (mapping/*.txt, built in):
// which sub-rubric a place is filed under, which street type a street has, which transport type
// a route is. Read against the demo city's model, whose rubrics and street types they name.
#include "citykit/Model.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVector>

#include <functional>

class TagMapping {
public:
    // The built-in tables; throws std::runtime_error listing every mistake with file and line.
    static TagMapping builtIn(const Model &model);

    // --- places
    // The sub-rubric a named place goes under when none of its tags has a line.
    static constexpr int OtherSubRubric = 1302;
    // The keys whose tags file places, in the order they are tried.
    const QVector<QByteArray> &placeKeys() const { return m_placeKeys; }
    // For key=value: a sub-rubric code, LeftOut, or NoLine.
    static constexpr int LeftOut = -1;
    static constexpr int NoLine = 0;
    int subRubric(const QByteArray &key, const QByteArray &value) const;
    // The tag a place of the sub-rubric is written with ("amenity=cafe"), empty when none.
    QByteArray tagOf(int subRubric) const;

    // --- streets
    // The street type an English word at the end of a name stands for, 0 for none.
    int streetTypeOfWord(const QString &word) const;
    // The street type whose own word ends a transliterated name, 0 for none.
    int streetTypeOfName(const QString &name) const;
    // The street type of a road whose name has no type word, from its tags (read through tag);
    // quCa when no rule matches.
    int streetTypeOfTags(const std::function<QByteArray(const QByteArray &key)> &tag) const;
    // The keys the tag rules read.
    QVector<QByteArray> streetTagKeys() const;
    // A street type's own word ("gamziri").
    QString streetTypeWord(int type) const;

    // --- transport
    struct TransportType {
        int code = 0;
        QString name;
    };
    // The transport type of a route=* value; code 0 when routes of that value are not read.
    TransportType transportType(const QByteArray &route) const;
    // The route=* value a transport type is written with, empty when none.
    QByteArray routeOf(int type) const;

private:
    struct TagRule {
        QByteArray key;
        QByteArray value;
        int streetType;
    };
    QVector<QByteArray> m_placeKeys;
    QHash<QByteArray, int> m_places; // "key=value" or "key=*"
    QHash<int, QByteArray> m_tagOfSubRubric;
    QHash<QString, int> m_words;
    QVector<TagRule> m_tagRules;
    QVector<StreetType> m_streetTypes;
    int m_defaultStreetType = 0;
    QHash<QByteArray, TransportType> m_transport;
    QVector<QPair<int, QByteArray>> m_routeOfType;
};
