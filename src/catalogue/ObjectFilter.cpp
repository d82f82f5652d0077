#include "catalogue/ObjectFilter.h"

#include "data/DataModule.h"
#include "data/LikeCondition.h"

namespace {

// Appends one criterion; the first one is preceded by a space.
void append(QString &filter, const QString &opening, const QString &value, const QString &closing)
{
    if (filter.isEmpty())
        filter += QLatin1Char(' ');
    filter += opening + value + closing;
}

void appendText(QString &filter, const QString &column, const QString &text)
{
    if (!text.isEmpty())
        append(filter, LikeCondition::contains(column, text), QString(), QStringLiteral(" AND "));
}

void appendKey(QString &filter, const QString &column, const std::optional<QString> &key)
{
    if (key)
        append(filter, column + QLatin1Char('='), *key, QStringLiteral(" AND "));
}

} // namespace

QString ObjectCriteria::filter() const
{
    QString result;
    appendText(result, QStringLiteral("obieqti.saxeli"), name);
    appendText(result, QStringLiteral("misamarTi"), address);
    appendText(result, QStringLiteral("telefoni"), telephone);
    appendKey(result, QStringLiteral("g_raioni_kodi"), districtKey);
    appendKey(result, QStringLiteral("qve_rubrika.g_rubrika_kodi"), rubricKey);
    appendKey(result, QStringLiteral("obieqti.g_qve_rubrika_kodi"), subRubricKey);
    return result;
}

QString ObjectFilter::listSql(const QString &filter)
{
    // The unfiltered list's join condition and order follow the fragment after one space.
    const QString joinAndOrder = DataModule::objectListSql.mid(DataModule::objectListSelect.size());
    return DataModule::objectListSelect + filter + QLatin1Char(' ') + joinAndOrder;
}
