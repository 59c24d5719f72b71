#include "store/UserLinks.h"

#include "store/StoreSupport.h"

namespace store::support {

UserLinks readUserLinks(db::Connection& connection, const QString& id, const QString& hint) {
    UserLinks links;
    for (const QList<QVariant>& row :
         connection.query(QStringLiteral("Select IdPers From PSR_Pers") + hint + QStringLiteral(" Where usID = ") + id)
             .rows)
        links.persons.insert(row.value(0).toInt());
    for (const QList<QVariant>& row :
         connection.query(QStringLiteral("Select grID From admUserGrup") + hint + QStringLiteral(" Where usID = ") + id)
             .rows)
        links.groups.insert(row.value(0).toInt());
    return links;
}

bool readUserFields(db::Connection& connection, const QString& id, UserFields& fields) {
    const db::ResultRows rows = connection.query(
        QStringLiteral("Select usCod, usDenumire, usDomeniu, usAlias From AdmUser (nolock) Where usID = ") + id);
    if (rows.rows.isEmpty())
        return false;
    const QList<QVariant>& row = rows.rows.first();
    fields = {row.value(0).toString(), row.value(1).toString(), row.value(2).toString(), row.value(3).toString()};
    return true;
}

ChangesElsewhere changesSince(const UserVersion& loaded, const UserFields& now, const UserLinks& links) {
    ChangesElsewhere changes;
    const std::pair<const QString&, const QString&> fields[] = {{loaded.usCod, now.usCod},
                                                                {loaded.usDenumire, now.usDenumire},
                                                                {loaded.usDomeniu, now.usDomeniu},
                                                                {loaded.usAlias, now.usAlias}};
    const char* const labels[] = {"User", "Display", "Domain", "Alias"};
    for (int i = 0; i < 4; ++i)
        if (fields[i].first != fields[i].second)
            changes.fields << QString::fromLatin1(labels[i]);
    changes.personChanged = links.persons != loaded.persons;
    std::tie(changes.groupsAdded, changes.groupsRemoved) = setDifference(loaded.groups, links.groups);
    return changes;
}

void recordSaved(UserVersion& version, int usID, const UserFields& fields, int IdPers, const QSet<int>& persons,
                 const QStringList& groups, const UserLinks& before, const UserSaveContext& context) {
    version.usID = usID;
    version.usCod = fields.usCod;
    version.usDenumire = fields.usDenumire;
    version.usDomeniu = fields.usDomeniu;
    version.usAlias = fields.usAlias;
    version.IdPers = IdPers;
    version.persons = persons;
    version.groups.clear();
    for (const QString& group : groups)
        version.groups.insert(bareId(group).toInt());
    for (const int kept : before.groups)
        if (context.showsGroup && !context.showsGroup(kept))
            version.groups.insert(kept);
}

} // namespace store::support
