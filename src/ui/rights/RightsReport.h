#pragma once

#include "store/RightsQueries.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

// The rights report for the auditor: one row per user, company, operation and the group that
// grants it, for one user, the members of one group or every user of the suite.
namespace rights {

// The suite a report is made on, as its title names it.
struct Suite {
    QString server;
    QString database;
};

// One row of the report, in the order of RightsReport::columnTitles().
using ReportRow = std::array<QString, 6>;

class RightsReport {
public:
    // subject names what the report covers in its title, e.g. "user ana (Ana Avram)"; id is the
    // usID or grID of the scope (none for the suite).
    RightsReport(store::ReportScope scope, int id, QString subject, Suite suite, QDate date = QDate::currentDate());

    store::ReportScope scope() const { return m_scope; }
    int id() const { return m_id; }
    // "Rights report: <subject>".
    QString title() const;
    // The server, the database and the date of the report.
    QString subtitle() const;
    // "User code", "User name", "Company", "Module", "Operation", "Via group".
    static QStringList columnTitles();

    // Reads the rows from the database in the report's order (user, company, module, operation,
    // group) and hands each to row; progress is told the users gone through so far and how many
    // the report goes through, each time a user's rows begin. Either one answering false stops the
    // reading, and read() answers false. The rows stream from the server (a forward-only set on one
    // connection): none is kept. Database errors are raised unchanged.
    bool read(const std::function<bool(const ReportRow&)>& row,
              const std::function<bool(int done, int total)>& progress = {}) const;

private:
    store::ReportScope m_scope;
    int m_id;
    QString m_subject;
    Suite m_suite;
    QDate m_date;
};

} // namespace rights
