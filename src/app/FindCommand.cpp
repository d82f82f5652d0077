#include "app/FindCommand.h"

#include "app/CommandLine.h"
#include "app/JsonText.h"
#include "data/DataModule.h"
#include "search/SearchIndexSource.h"

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
        CommandLine::tell(QStringLiteral("--find needs a text. See kvirzeta --help."));
        return CommandLine::Failed;
    }
    const SearchIndex index(SearchIndexSource::read(city.ADOConn.database()));
    const SearchIndex::Answer answer = index.find(operands.join(QLatin1Char(' ')));
    if (answer.cut)
        CommandLine::tell(QStringLiteral("the text was cut to its first %1 characters").arg(SearchText::MaxLength));
    QTextStream out(stdout);
    if (json) {
        QStringList results;
        for (const SearchResult &r : answer.results)
            results.append(QStringLiteral("{\"kind\":%1,\"code\":%2,\"name\":%3,\"detail\":%4}")
                               .arg(JsonText::string(searchKindName(r.kind)))
                               .arg(r.code)
                               .arg(JsonText::string(r.name), JsonText::string(r.detail)));
        out << QStringLiteral("{\"results\":[") << results.join(QLatin1Char(',')) << QStringLiteral("]}\n");
    } else {
        for (const SearchResult &r : answer.results)
            out << searchKindName(r.kind) << '\t' << oneLine(r.name) << '\t' << oneLine(r.detail) << '\n';
    }
    return answer.results.empty() ? CommandLine::NothingFound : CommandLine::Done;
}
