#include "democity/Names.h"

#include "citykit/Geometry.h"

#include <QRegularExpression>

namespace names {

QString genitive(const QString &word)
{
    if (word.isEmpty())
        return word;
    const QChar last = word.back();
    if (last == QLatin1Char('i') || last == QLatin1Char('e'))
        return word.chopped(1) + QStringLiteral("is");
    if (last == QLatin1Char('a') || last == QLatin1Char('o') || last == QLatin1Char('u'))
        return word + QLatin1Char('s');
    return word + QStringLiteral("is");
}

QString attributive(const QString &name)
{
    // Names whose final i belongs to the stem keep it: "giorgi beriZis quCa".
    static const QStringList keep{QStringLiteral("giorgi"), QStringLiteral("irakli")};
    static const QString vowels = QStringLiteral("aeiou");
    if (name.size() > 3 && name.endsWith(QLatin1Char('i')) && !vowels.contains(name[name.size() - 2])
        && !keep.contains(name))
        return name.chopped(1);
    return name;
}

QString fromPattern(const Model &model, const QString &pattern, Rng &rng)
{
    static const QRegularExpression slot(QStringLiteral("\\{(\\w+)(:gen)?\\}"));
    QString result;
    qsizetype from = 0;
    auto it = slot.globalMatch(pattern);
    while (it.hasNext()) {
        const auto m = it.next();
        result += pattern.mid(from, m.capturedStart() - from);
        const QString list = m.captured(1);
        QString word;
        if (list == QLatin1String("n"))
            word = QString::number(1 + rng.below(220));
        else if (model.words.contains(list))
            word = rng.pick(model.words.value(list));
        if (!m.captured(2).isEmpty())
            word = genitive(word);
        result += word;
        from = m.capturedEnd();
    }
    result += pattern.mid(from);
    return result;
}

static int typeCode(const Model &model, const char *keyword)
{
    for (const StreetType &t : model.streetTypes)
        if (t.keyword == QLatin1String(keyword))
            return t.code;
    return model.streetTypes.isEmpty() ? 0 : model.streetTypes.first().code;
}

QString street(const Model &model, Rng &rng, int *type)
{
    static const char *const roman[] = {"I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X"};
    const QStringList &surnames = model.words.value(QStringLiteral("surname"));
    const QStringList &firsts = model.words.value(QStringLiteral("first"));
    const QStringList &places = model.words.value(QStringLiteral("place"));
    QString base = genitive(surnames.isEmpty() ? QStringLiteral("tbilisi") : rng.pick(surnames));
    const int form = rng.below(10);
    if (form < 4 && !firsts.isEmpty())
        base = attributive(rng.pick(firsts)) + QLatin1Char(' ') + base;
    else if (form == 4 && !places.isEmpty())
        base = genitive(rng.pick(places));
    const int kind = rng.below(20);
    if (kind < 13) {
        *type = typeCode(model, "quCa");
        return base + QStringLiteral(" quCa");
    }
    if (kind < 17) {
        *type = typeCode(model, "Sesaxvevi");
        return base + QLatin1Char(' ') + QLatin1String(roman[rng.below(10)]) + QStringLiteral(" Sesaxvevi");
    }
    if (kind < 19) {
        *type = typeCode(model, "Cixi");
        return base + QStringLiteral(" Cixi");
    }
    *type = typeCode(model, "aRmarTi");
    return base + QStringLiteral(" aRmarTi");
}

QString domain(const QString &name)
{
    QString d;
    for (QChar c : name.toLower())
        if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            d += c;
    return d.left(24);
}

} // namespace names
