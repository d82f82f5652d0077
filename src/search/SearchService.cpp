#include "search/SearchService.h"

#include "common/Errors.h"
#include "data/Connection.h"
#include "data/DataModule.h"
#include "platform/ThreadPriority.h"
#include "search/SearchIndexSource.h"

#include <QtConcurrent/QtConcurrentRun>
#include <QThreadPool>

#include <exception>
#include <utility>

namespace {

// A thread of its own: Qt's global pool paints large images and must not wait for a read.
QThreadPool &builders()
{
    static QThreadPool pool;
    pool.setMaxThreadCount(1);
    return pool;
}

} // namespace

SearchService::SearchService(DataModule &dm, QObject *parent) : QObject(parent), m_dm(dm)
{
    connect(&m_watcher, &QFutureWatcherBase::finished, this, &SearchService::finished);
    connect(&dm, &DataModule::listsReloaded, this, [this] {
        if (m_state == State::NotStarted)
            return;
        if (m_watcher.isRunning())
            m_readAgain = true;
        else
            read();
    });
}

SearchService::~SearchService()
{
    if (m_cancel)
        m_cancel->store(true);
    m_watcher.waitForFinished();
}

void SearchService::start()
{
    if (m_state != State::NotStarted && m_state != State::Failed)
        return;
    if (m_watcher.isRunning())
        return;
    read();
}

void SearchService::read()
{
    if (m_state != State::Ready) {
        m_state = State::Building;
        Q_EMIT stateChanged();
    }
    static std::atomic_int sessions{0};
    const QString session = QStringLiteral("%1 search index %2").arg(m_dm.ADOConn.connectionName()).arg(++sessions);
    m_cancel = std::make_shared<std::atomic_bool>(false);
    m_watcher.setFuture(QtConcurrent::run(&builders(), [connectionString = m_dm.ADOConn.connectionString(), session,
                                                        cancel = m_cancel]() -> Built {
        ThreadPriority::giveWayToWindow();
        Built built;
        try {
            QSqlDatabase db = Connection::openSession(connectionString, session, Connection::Access::ReadOnly);
            std::vector<SearchIndex::Entry> entries = SearchIndexSource::read(db, cancel.get());
            if (!cancel->load())
                built.index = std::make_shared<const SearchIndex>(std::move(entries));
        } catch (const Error &e) {
            built.error = e.text();
        } catch (const std::exception &e) {
            built.error = QString::fromLocal8Bit(e.what());
        }
        QSqlDatabase::removeDatabase(session);
        return built;
    }));
}

void SearchService::finished()
{
    Built built = m_watcher.result();
    if (std::exchange(m_readAgain, false)) {
        read();
        return;
    }
    if (built.index) {
        m_index = std::move(built.index);
        m_failure.clear();
        m_state = State::Ready;
    } else {
        m_failure = built.error;
        if (!m_index)
            m_state = State::Failed;
    }
    Q_EMIT stateChanged();
}

SearchIndex::Answer SearchService::find(QStringView text, SearchKinds kinds, int limit) const
{
    return m_index ? m_index->find(text, kinds, limit) : SearchIndex::Answer{};
}
