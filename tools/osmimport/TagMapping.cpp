#include "osmimport/TagMapping.h"

#include "citykit/TableReader.h"

#include <stdexcept>

namespace {

int streetTypeCode(const Model &model, const QString &word)
{
    for (const StreetType &t : model.streetTypes)
        if (t.keyword == word)
            return t.code;
    return 0;
}

} // namespace

TagMapping TagMapping::builtIn(const Model &model)
{
    const QString folder = QStringLiteral(":/osmimport/mapping");
    QStringList errors;
    TagMapping m;
    m.m_streetTypes = model.streetTypes;

    TableReader places(folder, QStringLiteral("objects.txt"), &errors);
    for (const TableReader::Line &line : places.lines()) {
        if (!places.need(line, 2))
            continue;
        const QByteArray tag = line.fields[0].toUtf8();
        const int eq = int(tag.indexOf('='));
        const QByteArray key = tag.left(eq), value = tag.mid(eq + 1);
        const bool leftOut = line.fields[1] == QLatin1String("-");
        const int code = leftOut ? LeftOut : int(places.number(line, 1));
        if (eq <= 0 || value.isEmpty() || m.m_places.contains(tag))
            places.fail(line.number, QStringLiteral("expected a tag of its own: %1").arg(line.fields[0]));
        else if (!leftOut && !model.subRubric(code))
            places.fail(line.number, QStringLiteral("unknown sub-rubric %1").arg(code));
        m.m_places.insert(tag, code);
        if (!m.m_placeKeys.contains(key))
            m.m_placeKeys.append(key);
        if (code > 0 && value != "*" && !m.m_tagOfSubRubric.contains(code))
            m.m_tagOfSubRubric.insert(code, tag);
    }
    if (!model.subRubric(OtherSubRubric))
        errors.append(QStringLiteral("the rubrics have no sub-rubric %1 for places without a line").arg(OtherSubRubric));

    TableReader streets(folder, QStringLiteral("street_types.txt"), &errors);
    for (const TableReader::Line &line : streets.lines()) {
        if (!streets.need(line, 3))
            continue;
        const int type = streetTypeCode(model, line.fields[2]);
        if (type == 0)
            streets.fail(line.number, QStringLiteral("unknown street type %1").arg(line.fields[2]));
        if (line.fields[0] == QLatin1String("word")) {
            m.m_words.insert(line.fields[1].toLower(), type);
        } else if (line.fields[0] == QLatin1String("tag") && line.fields[1].contains(QLatin1Char('='))) {
            const QByteArray tag = line.fields[1].toUtf8();
            m.m_tagRules.append({tag.left(tag.indexOf('=')), tag.mid(tag.indexOf('=') + 1), type});
        } else {
            streets.fail(line.number, QStringLiteral("expected a word or a tag"));
        }
    }
    m.m_defaultStreetType = streetTypeCode(model, QStringLiteral("quCa"));
    if (m.m_defaultStreetType == 0)
        errors.append(QStringLiteral("the street types have no quCa"));

    TableReader transport(folder, QStringLiteral("transport.txt"), &errors);
    for (const TableReader::Line &line : transport.lines()) {
        if (!transport.need(line, 3))
            continue;
        const TransportType type{int(transport.number(line, 1)), line.fields[2]};
        for (const TransportType &other : std::as_const(m.m_transport))
            if (other.code == type.code && other.name != type.name)
                transport.fail(line.number, QStringLiteral("transport type %1 named twice").arg(type.code));
        m.m_transport.insert(line.fields[0].toUtf8(), type);
        if (m.routeOf(type.code).isEmpty())
            m.m_routeOfType.append({type.code, line.fields[0].toUtf8()});
    }

    if (!errors.isEmpty())
        throw std::runtime_error(QStringLiteral("The tag tables have mistakes:\n%1").arg(errors.join(QLatin1Char('\n'))).toStdString());
    return m;
}

int TagMapping::subRubric(const QByteArray &key, const QByteArray &value) const
{
    const auto own = m_places.constFind(key + '=' + value);
    if (own != m_places.cend())
        return *own;
    return m_places.value(key + "=*", NoLine);
}

QByteArray TagMapping::tagOf(int subRubric) const
{
    return m_tagOfSubRubric.value(subRubric);
}

int TagMapping::streetTypeOfWord(const QString &word) const
{
    QString plain = word.toLower();
    if (plain.endsWith(QLatin1Char('.')))
        plain.chop(1);
    return m_words.value(plain, 0);
}

int TagMapping::streetTypeOfName(const QString &name) const
{
    const QString last = name.section(QLatin1Char(' '), -1);
    for (const StreetType &t : m_streetTypes)
        if (t.keyword == last)
            return t.code;
    return 0;
}

int TagMapping::streetTypeOfTags(const std::function<QByteArray(const QByteArray &key)> &tag) const
{
    for (const TagRule &rule : m_tagRules)
        if (tag(rule.key) == rule.value)
            return rule.streetType;
    return m_defaultStreetType;
}

QVector<QByteArray> TagMapping::streetTagKeys() const
{
    QVector<QByteArray> keys;
    for (const TagRule &rule : m_tagRules)
        if (!keys.contains(rule.key))
            keys.append(rule.key);
    return keys;
}

QString TagMapping::streetTypeWord(int type) const
{
    for (const StreetType &t : m_streetTypes)
        if (t.code == type)
            return t.keyword;
    return QString();
}

TagMapping::TransportType TagMapping::transportType(const QByteArray &route) const
{
    return m_transport.value(route);
}

QByteArray TagMapping::routeOf(int type) const
{
    for (const auto &entry : m_routeOfType)
        if (entry.first == type)
            return entry.second;
    return QByteArray();
}
