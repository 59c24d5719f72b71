#pragma once

#include "db/DbError.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <utility>

// What an editor loaded of a record, so that a save or a delete can tell whether someone else
// changed the record since: the stores compare it with what the database holds, inside their
// transaction and under locks that keep it so until the commit.
namespace store {

// A group as loaded, and the grants of one company as loaded.
struct GroupVersion {
    int grID = 0; // 0: no group loaded (a new one): there is nothing to compare
    QString grCod;
    QString grDenumire;
    QString grobs;
    // The company whose grants below were read; 0 when none was.
    int auID = 0;
    // The granted operations of modules, (opID, Id), as the company's click read them.
    QSet<std::pair<int, int>> operations;
    // The granted work points among those the company's click listed, and the listed ones.
    QSet<int> workPoints;
    QSet<int> listedWorkPoints;
};

// A user as loaded.
struct UserVersion {
    int usID = 0; // 0: no user loaded (a new one): there is nothing to compare
    QString usCod;
    QString usDenumire;
    QString usDomeniu;
    QString usAlias;
    int IdPers = 0; // 0: no person
    // Every person that pointed at the user (IdPers the first of them): a person tied to it
    // elsewhere since is a change even while IdPers still points at it.
    QSet<int> persons;
    QSet<int> groups;
};

// What someone else changed in a record since it was loaded.
struct ChangesElsewhere {
    bool deleted = false;
    QStringList fields; // the names of the changed fields, as the window labels them
    int operationsAdded = 0;
    int operationsRemoved = 0;
    int workPointsAdded = 0;
    int workPointsRemoved = 0;
    int groupsAdded = 0;
    int groupsRemoved = 0;
    bool personChanged = false;

    bool any() const {
        return deleted || !fields.isEmpty() || operationsAdded || operationsRemoved || workPointsAdded ||
               workPointsRemoved || groupsAdded || groupsRemoved || personChanged;
    }
};

// Raised by a save or a delete, before anything is written, when the record changed elsewhere.
class ChangedElsewhere : public db::DbError {
public:
    static constexpr int Number = 5004;

    explicit ChangedElsewhere(ChangesElsewhere changes)
        : db::DbError(Number, QStringLiteral("The record was changed by someone else since it was loaded."),
                      db::DbError::ToolSource()),
          m_changes(std::move(changes)) {}

    // The error for a record deleted elsewhere since it was loaded.
    static ChangedElsewhere deletedRecord() {
        ChangesElsewhere changes;
        changes.deleted = true;
        return ChangedElsewhere(std::move(changes));
    }

    const ChangesElsewhere& changes() const { return m_changes; }

private:
    ChangesElsewhere m_changes;
};

// How many of `now` are not in `before` (added) and the other way round (removed).
template <typename T> std::pair<int, int> setDifference(const QSet<T>& before, const QSet<T>& now) {
    int added = 0;
    for (const T& item : now)
        added += before.contains(item) ? 0 : 1;
    int removed = 0;
    for (const T& item : before)
        removed += now.contains(item) ? 0 : 1;
    return {added, removed};
}

} // namespace store
