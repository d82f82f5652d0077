#include "app/FindCommand.h"

#include "app/CommandLine.h"
#include "data/DataModule.h"
#include "search/SearchIndexSource.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace {

// A field of a line of its own: tabs and line breaks in a name would split it.
QString oneLine(QString text)
{
    for (QChar &c : text)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    return text;
}

} // namespace

int FindCommand::run(const QStringList &operands, bool json, DataModule &city)
{
    if (operands.isEmpty()) {
        QTextStream(stderr) << QCoreApplication::applicationName() << ": --find needs a text. See kvirzeta --help.\n";
        return CommandLine::Failed;
    }
    const SearchIndex index(SearchIndexSource::read(city.ADOConn.database()));
    const SearchIndex::Answer answer = index.find(operands.join(QLatin1Char(' ')));
    if (answer.cut) {
        QTextStream(stderr) << QCoreApplication::applicationName() << ": the text was cut to its first "
                            << SearchText::MaxLength << " characters\n";
    }
    QTextStream out(stdout);
    if (json) {
        QJsonArray results;
        for (const SearchResult &r : answer.results) {
            results.append(QJsonObject{{QStringLiteral("kind"), searchKindName(r.kind)},
                                       {QStringLiteral("code"), r.code},
                                       {QStringLiteral("name"), r.name},
                                       {QStringLiteral("detail"), r.detail}});
        }
        out << QJsonDocument(QJsonObject{{QStringLiteral("results"), results}}).toJson(QJsonDocument::Compact) << '\n';
    } else {
        for (const SearchResult &r : answer.results)
            out << searchKindName(r.kind) << '\t' << oneLine(r.name) << '\t' << oneLine(r.detail) << '\n';
    }
    return answer.results.empty() ? CommandLine::NothingFound : CommandLine::Done;
}
