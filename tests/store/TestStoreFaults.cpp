#include "db/DbError.h"
#include "db/StatementLog.h"
#include "store/GroupStore.h"
#include "store/UserStore.h"
#include "support/TempServer.h"

#include <QTest>
#include <functional>
#include <memory>

// A failure injected at each statement of a store operation in turn: every table is left
// exactly as it was, and the error the caller gets is the injected one. The login statements
// are the exception by design: their failures are passed over and the operation goes on; so are
// the reads that come after a commit (whether another user shares a dropped user's login).
namespace {

struct Scenario {
    const char* name;
    bool withStk;
    std::function<void()> prepare; // runs on the fresh demo server before the snapshot
    std::function<void()> run;
    // The start of a read after the commit, whose failure is passed over.
    const char* afterCommit = nullptr;
};

bool isLoginStatement(const QString& sql) {
    return sql.startsWith(QLatin1String(" EXEC sp_")) || sql.startsWith(QLatin1String("  IF EXISTS"));
}

void storeNewUser() {
    int usID = 0;
    store::StoreUser(usID, 14, "madalina.c", "Mădălina Constantinescu", "BRADET", "mconst", {"2", "3"}, "Parolă");
}

void storeExistingUser() {
    int usID = 7;
    store::StoreUser(usID, 15, "cristina.moldovan", "Cristina Moldovan", "DUNAREA", "cm", {"1"}, "nouă");
}

void storeNewGroup() {
    int grID = 0;
    store::StoreGroup(grID, "NOU", "Grup nou", "", 1, {"1#$#1", "2#$#2"}, {"1", "2"});
}

void storeExistingGroup() {
    int grID = 3;
    store::StoreGroup(grID, "GESTIUNE", "Gestionari", "obs", 1, {"1#$#13", "6#$#18"}, {"1", "3"});
}

// The same saves from a window that showed only part of the rights: what it did not show is kept.
void storeGroupShowingPart() {
    int grID = 3;
    store::GroupSaveContext shown;
    shown.showsOperation = [](int opID, int, int) { return opID % 2 == 0; };
    shown.showsWorkPoint = [](int id) { return id != 2; };
    store::StoreGroup(grID, "GESTIUNE", "Gestionari", "obs", 1, {"6#$#18"}, {"1", "3"}, shown);
}

void storeUserShowingPart() {
    int usID = 7;
    store::UserSaveContext shown;
    shown.showsGroup = [](int grID) { return grID != 4; };
    store::StoreUser(usID, 15, "cristina.moldovan", "Cristina Moldovan", "DUNAREA", "cm", {"1"}, "", shown);
}

const QList<Scenario> Scenarios = {
    {"StoreUser new", true, {}, storeNewUser},
    {"StoreUser existing", true, {}, storeExistingUser},
    {"StoreGroup new", true, {}, storeNewGroup},
    {"StoreGroup existing", true, {}, storeExistingGroup},
    {"StoreGroup existing without stk", false, {}, storeExistingGroup},
    {"StoreGroup showing part", true, {}, storeGroupShowingPart},
    {"StoreUser showing part", true, {}, storeUserShowingPart},
    {"DropGroup", true, {}, [] { store::DropGroup(3); }},
    {"DropGroup without stk", false, {}, [] { store::DropGroup(3); }},
    {"DropUser", true, storeExistingUser, [] { store::DropUser(7, "cristina.moldovan"); },
     "Select usCod From AdmUser (nolock)"},
};

} // namespace

class TestStoreFaults : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        db::StatementLog::stopRecording();
        db::StatementLog::clearFailure();
    }

    void failureAtEveryStatement_data() {
        QTest::addColumn<int>("scenario");
        for (int i = 0; i < Scenarios.size(); ++i)
            QTest::newRow(Scenarios.at(i).name) << i;
    }
    void failureAtEveryStatement() {
        QFETCH(int, scenario);
        const Scenario& s = Scenarios.at(scenario);

        QStringList statements;
        {
            TempServer server(s.withStk, true);
            if (s.prepare)
                s.prepare();
            db::StatementLog::startRecording();
            s.run();
            db::StatementLog::stopRecording();
            statements = db::StatementLog::recorded();
        }
        QVERIFY(statements.size() > 3);

        const db::DbError injected(-2147217873, QStringLiteral("Injected failure"), QStringLiteral("Fault test"),
                                   QStringLiteral("fault.hlp"), 7);
        int rolledBack = 0;
        for (int position = 1; position <= statements.size(); ++position) {
            TempServer server(s.withStk, true);
            if (s.prepare)
                s.prepare();
            const QStringList before = server.snapshot();
            const QString failing = statements.at(position - 1);
            db::StatementLog::failAt(position, injected);
            bool raised = false;
            try {
                s.run();
            } catch (const db::DbError& e) {
                raised = true;
                QCOMPARE(e.number(), injected.number());
                QCOMPARE(e.description(), injected.description());
                QCOMPARE(e.source(), injected.source());
                QCOMPARE(e.helpFile(), injected.helpFile());
                QCOMPARE(e.helpContext(), injected.helpContext());
            }
            db::StatementLog::clearFailure();
            if (isLoginStatement(failing) || (s.afterCommit && failing.startsWith(QLatin1String(s.afterCommit)))) {
                QVERIFY2(!raised, qPrintable("a failing login statement stopped the operation: " + failing));
                continue;
            }
            QVERIFY2(raised, qPrintable("no error at statement " + QString::number(position) + ": " + failing));
            if (server.snapshot() != before)
                QFAIL(qPrintable("tables changed after a failure at statement " + QString::number(position) + ": " +
                                 failing));
            ++rolledBack;
        }
        qInfo("%s: failure injected at %lld statement positions, %d rolled back, the others login statements", s.name,
              static_cast<long long>(statements.size()), rolledBack);

        // One past the last statement nothing fails: the count above was complete.
        TempServer server(s.withStk, true);
        if (s.prepare)
            s.prepare();
        db::StatementLog::failAt(statements.size() + 1, injected);
        s.run();
        QCOMPARE(db::StatementLog::count(), statements.size());
    }
};

QTEST_GUILESS_MAIN(TestStoreFaults)
#include "TestStoreFaults.moc"
