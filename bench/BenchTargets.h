#pragma once

#include <QString>

// What the benchmark clicks on in a generated suite, and the counts it checks the window
// against: the company with the most work points (at most MostWorkPoints), a group that holds
// rights for it, the module with the most operations (at most MostModuleOperations), and a user
// with a person, brand roles and the most groups.
struct BenchTargets {
    // The largest company and module of the 20,000-user suite: 493 work points, 828 operations.
    static constexpr int MostWorkPoints = 500;
    static constexpr int MostModuleOperations = 850;

    int author = 0;
    int authorWorkPoints = 0;
    int group = 0;
    QString groupCode;
    int module = 0;
    int moduleOperations = 0;
    // The generator's module of 9,000 operations, at every suite size.
    int largeModule = 0;
    int largeModuleOperations = 0;
    int user = 0;
    QString userCode;
    int users = 0;
    int groups = 0;
    int treeNodes = 0; // modules + operations
    // Saved with 2,000 operations and 50 work points of `author`: another group that holds rights
    // for it, so the clicks on `group` are not changed by the saves.
    int saveGroup = 0;
    // A free group id, for the group of 10,000 operation grants that each Delete removes.
    int spareGroup = 0;
    // The rights views: a user in 20 groups, shown on the company where it may run the most
    // operations, and an operation of a company that a group gives to 10,000 users (tree node key).
    int rightsUser = 0;
    int rightsUserCompany = 0;
    int rightsUserOperations = 0;
    int rightsCompany = 0;
    QString rightsOperationKey;
    int rightsOperationUsers = 0;
    // The suite's directory and main database.
    QString directory;
    QString database;

    // Reads them from the suite server in directory (through SQLite directly, before the
    // window opens); raises std::runtime_error when the suite lacks any of them.
    static BenchTargets pick(const QString& directory, const QString& database);
};
