#pragma once
// The search index of the city the data module is connected to, built in the background: the
// window never waits for it. start() reads it on a session of its own in another thread, at a
// priority below the window's; until it is in, find() answers nothing and state() says why.
// When the data module puts a list back on its unfiltered rows (a clear command: the way the
// program takes in a changed database), the index is read again, and the one in use keeps
// answering until the new one replaces it. A read that fails is no command of the person's: it
// shows no message window, the box says it (failure()) and the next reload reads again.
//
//   SearchService search(dm);
//   connect(&search, &SearchService::stateChanged, ...);
//   search.start();                        // once the window is up and the object list is in
//   search.find(u"rusTa").results;         // on the window's thread
#include "search/SearchIndex.h"

#include <QFutureWatcher>
#include <QObject>

#include <atomic>
#include <memory>

class DataModule;

class SearchService : public QObject {
    Q_OBJECT
public:
    enum class State {
        NotStarted,
        Building, // the first index is being read
        Ready,    // an index answers (a newer one may be being read)
        Failed,   // the first index could not be read; the next reload tries again
    };

    explicit SearchService(DataModule &dm, QObject *parent = nullptr);
    ~SearchService() override;

    // Reads the index unless it is read or being read already.
    void start();
    State state() const { return m_state; }
    // Why the last read failed; empty after a read that succeeded.
    const QString &failure() const { return m_failure; }
    SearchIndex::Answer find(QStringView text, SearchKinds kinds = AllSearchKinds,
                             int limit = SearchIndex::DefaultLimit) const;
    std::shared_ptr<const SearchIndex> index() const { return m_index; }

Q_SIGNALS:
    // The state, the index or the failure changed.
    void stateChanged();

private:
    struct Built {
        std::shared_ptr<const SearchIndex> index;
        QString error;
    };

    void read();
    void finished();

    DataModule &m_dm;
    State m_state = State::NotStarted;
    QString m_failure;
    std::shared_ptr<const SearchIndex> m_index;
    QFutureWatcher<Built> m_watcher;
    std::shared_ptr<std::atomic_bool> m_cancel;
    bool m_readAgain = false; // the database was reloaded while a read ran
};
