#include "democity/Generator.h"

#include "citykit/CityDatabase.h"
#include "citykit/CityReplacement.h"
#include "democity/DemoCity.h"
#include "democity/DemoScene.h"

#include <stdexcept>

namespace {

[[noreturn]] void fail(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

} // namespace

Generator::Generator(GeneratorOptions options) : m_options(std::move(options)) {}

void Generator::run()
{
    QStringList errors;
    m_model = Model::builtIn(&errors);
    if (!errors.isEmpty())
        fail(QStringLiteral("The city model has mistakes:\n") + errors.join(QLatin1Char('\n')));

    // The folder may be replaced, and a database named by a connection string is reachable and
    // empty, before anything is written.
    CityReplacement replacement(m_options.folder);
    const QString connection = CityDatabase::forCity(m_options.connection, replacement.folder());
    if (!connection.isEmpty())
        CityDatabase::requireEmpty(connection);

    Stages stages;
    stages.run(QStringLiteral("city"), [&] { m_city = buildDemoCity(m_model, m_options.seed, m_options.size); });
    const QString work = replacement.begin();
    CityWriter::write(m_city, demoScene(m_city), {work, replacement.shownFolder(), m_options.mapWidth, connection, 0}, stages);
    stages.run(QStringLiteral("moving into place"), [&] { replacement.commit(); });
    m_report = stages.report();
    m_report.prepend(QStringLiteral("%1 objects, %2 streets, %3 stops, %4 routes in %5")
                         .arg(m_city.objects.size())
                         .arg(m_city.streets.size())
                         .arg(m_city.stops.size())
                         .arg(m_city.routes.size())
                         .arg(replacement.shownFolder()));
}
