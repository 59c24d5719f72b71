#include "db/EnginePool.h"

#include <QCoreApplication>
#include <QThread>
#include <vector>

namespace db::EnginePool {

namespace {

// The window lets go of its shared connection as it opens the next one: one kept engine serves.
constexpr std::size_t MostKept = 1;

struct Kept {
    QString key;
    QByteArray stamp;
    std::unique_ptr<Engine> engine;
};

std::vector<Kept>& kept() {
    static std::vector<Kept> engines;
    return engines;
}

// Engines hold driver connections, which must be gone before the application is.
void letAllGo() {
    kept().clear();
}

bool onMainThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

} // namespace

std::unique_ptr<Engine> take(const QString& key) {
    if (!onMainThread())
        return nullptr;
    auto& engines = kept();
    for (auto it = engines.begin(); it != engines.end(); ++it) {
        if (it->key != key)
            continue;
        std::unique_ptr<Engine> engine = std::move(it->engine);
        const bool same = it->stamp == engine->reuseStamp();
        engines.erase(it);
        return same ? std::move(engine) : nullptr;
    }
    return nullptr;
}

void give(const QString& key, std::unique_ptr<Engine> engine) {
    if (!engine || !onMainThread() || engine->transactionActive())
        return;
    auto& engines = kept();
    static const bool cleared = (qAddPostRoutine(letAllGo), true);
    Q_UNUSED(cleared);
    if (engines.size() >= MostKept)
        engines.erase(engines.begin());
    QByteArray stamp = engine->reuseStamp();
    engine->releaseMemory();
    engines.push_back({key, std::move(stamp), std::move(engine)});
}

} // namespace db::EnginePool
