#pragma once

#include "SuiteRandom.h"
#include "SuiteSize.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <functional>
#include <vector>

class SqliteBulk;

// Writes a large embedded suite: the server directory is made from the suite's own schema (no
// demo rows), then every table is filled through SQLite directly, one transaction per table.
// The same seed and size always give the same rows.
class SuiteGenerator {
public:
    // The rights targets (see fillRightsTargets), found by these codes.
    static constexpr int RightsUserGroups = 20;
    static constexpr int RightsOperationUsers = 10000;
    static constexpr const char* RightsUserCode = "audit.douazeci";
    static constexpr const char* RightsGroupCode = "AUDIT_ZECE_MII";
    // The module of the large double click (see fillLargeModule), found by its name.
    static constexpr int LargeModuleOperations = 9000;
    static constexpr const char* LargeModuleName = "Audit - noua mii de operatii";

    struct TableCount {
        QString table;
        qint64 rows;
        qint64 milliseconds;
    };

    SuiteGenerator(QString directory, SuiteSize size, quint64 seed);

    // Creates and fills the suite; raises db::DbError when the server cannot be made (for example
    // when its databases already exist) and std::runtime_error when a row cannot be written.
    // Each table's count is reported to progress as soon as it is written.
    void run(const std::function<void(const TableCount&)>& progress);

private:
    struct Operation {
        int opID;
        int mdID;
        int id;
    };

    void fillAuthors(SqliteBulk& suite);
    void fillWorkPoints(SqliteBulk& ordavia, SqliteBulk& stk);
    void fillModules(SqliteBulk& suite);
    void fillOperations(SqliteBulk& suite);
    void fillPeople(SqliteBulk& suite);
    void fillGroups(SqliteBulk& suite, SqliteBulk& stk);
    void fillMemberships(SqliteBulk& suite);
    void fillGrants(SqliteBulk& suite);
    void fillBrands(SqliteBulk& suite, SqliteBulk& stk);
    // The rows the rights views are timed on, added after every other row so that those stay as
    // they were: a user in RightsUserGroups groups, and a group that gives one operation of one
    // company to RightsOperationUsers users.
    void fillRightsTargets(SqliteBulk& suite);
    // A module of LargeModuleOperations operations, the last rows of all, so that every other row
    // and every target the benchmark picks stays as it was.
    void fillLargeModule(SqliteBulk& suite);

    // The operations offered to one group: whole stretches of a few modules, as real groups are
    // made per department.
    std::vector<int> groupOperations(int count);
    std::vector<int> groupAuthors();
    // Per operation of a module (in opID order): the opID of its parent, 0 for none.
    std::vector<int> parentsOf(const std::vector<int>& moduleOps, const std::vector<bool>& isChild);

    void report(SqliteBulk& bulk, const char* table);
    QString randomStamp();
    QString randomDate();

    QString m_directory;
    SuiteSize m_size;
    SuiteRandom m_random;
    std::function<void(const TableCount&)> m_progress;
    QElapsedTimer m_tableTimer;

    std::vector<std::vector<int>> m_workPointsOf; // per author (index IdAuthor - 1): IdPctLucru
    std::vector<Operation> m_operations;          // by catalogue Id - 1
    std::vector<std::vector<int>> m_operationsOf; // per module (index mdID - 1): indexes into m_operations
    std::vector<int> m_opStamp;                   // per operation: the last group that chose it
    int m_groupStamp = 0;
    std::vector<int> m_groupCount; // per user (index usID - 1): its groups
    int m_firstAuthor = 0;         // the company and operation of group 1's first grant
    int m_firstOperation = -1;
};
