#include "democity/Generator.h"

#include "citykit/CityDatabase.h"
#include "democity/DemoCity.h"
#include "democity/DemoScene.h"

#include <QDir>
#include <QFile>

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

    // A database named by a connection string must be reachable and empty before anything is
    // written into the folder.
    if (!m_options.connection.isEmpty())
        CityDatabase::requireEmpty(m_options.connection);

    QDir dir(m_options.folder);
    if (!dir.mkpath(QStringLiteral(".")))
        fail(QStringLiteral("Cannot create the folder %1").arg(QDir::toNativeSeparators(dir.absolutePath())));
    // A half-written city must not look finished: Address.ini is written last.
    QFile::remove(dir.filePath(QStringLiteral("Address.ini")));

    Stages stages;
    stages.run(QStringLiteral("city"), [&] { m_city = buildDemoCity(m_model, m_options.seed, m_options.size); });
    CityWriter::write(m_city, demoScene(m_city), {m_options.folder, m_options.mapWidth, m_options.connection, 0}, stages);
    m_report = stages.report();
    m_report.prepend(QStringLiteral("%1 objects, %2 streets, %3 stops, %4 routes in %5")
                         .arg(m_city.objects.size())
                         .arg(m_city.streets.size())
                         .arg(m_city.stops.size())
                         .arg(m_city.routes.size())
                         .arg(QDir::toNativeSeparators(dir.absolutePath())));
}
