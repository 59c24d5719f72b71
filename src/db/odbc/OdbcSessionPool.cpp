#include "db/odbc/OdbcSessionPool.h"

#include "db/OneConnectionAttempt.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <vector>

namespace db::OdbcSessionPool {

namespace {

// How long a kept session is trusted without a check: within the command that used it last (a
// command may wait on a question to the administrator), and outside any command.
constexpr qint64 TrustedInItsCommandMs = 60000;
constexpr qint64 TrustedOutsideCommandsMs = 1000;

struct Kept {
    QString key;
    quint64 command;
    QElapsedTimer idle;
    std::unique_ptr<OdbcSession> session;
};

bool trusted(const Kept& kept) {
    const quint64 running = OneConnectionAttempt::command();
    if (running == 0)
        return kept.idle.elapsed() < TrustedOutsideCommandsMs;
    return running == kept.command && kept.idle.elapsed() < TrustedInItsCommandMs;
}

std::vector<Kept>& kept() {
    static std::vector<Kept> sessions;
    return sessions;
}

// Sessions hold driver connections, which must be gone before the application is.
void letAllGo() {
    kept().clear();
}

void letGoOf(const QString& key) {
    auto& sessions = kept();
    std::erase_if(sessions, [&](const Kept& k) { return k.key == key; });
}

} // namespace

bool keepsHere() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

std::unique_ptr<OdbcSession> take(const QString& key) {
    if (!keepsHere())
        return nullptr;
    auto& sessions = kept();
    // The most recently kept one first: it is the likeliest to be alive and warm.
    for (auto it = sessions.rbegin(); it != sessions.rend(); ++it) {
        if (it->key != key)
            continue;
        const bool check = !trusted(*it);
        std::unique_ptr<OdbcSession> session = std::move(it->session);
        sessions.erase(std::next(it).base());
        if (!check || session->answers())
            return session;
        // The server dropped this login: it has dropped the others made before it too.
        session.reset();
        letGoOf(key);
        return nullptr;
    }
    return nullptr;
}

void give(const QString& key, std::unique_ptr<OdbcSession> session) {
    if (!session || !keepsHere() || session->lost() || session->inTransaction())
        return;
    auto& sessions = kept();
    static const bool cleared = (qAddPostRoutine(letAllGo), true);
    Q_UNUSED(cleared);
    if (sessions.size() >= std::size_t(MostKept))
        sessions.erase(sessions.begin());
    QElapsedTimer idle;
    idle.start();
    sessions.push_back({key, OneConnectionAttempt::command(), idle, std::move(session)});
}

} // namespace db::OdbcSessionPool
