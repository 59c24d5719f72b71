#include "ui/main/RefreshReport.h"

#include "ui/common/ShowErrors.h"
#include "ui/groups/GroupEditor.h"
#include "ui/main/frmMain.h"
#include "ui/users/UserEditor.h"

namespace mainwindow {

namespace {

// A broken catalogue may leave out thousands: the first ones tell what is wrong.
constexpr int ListedOperations = 10;

QString operationLine(const groups::LeftOutOperation& op) {
    return QStringLiteral("    opID %1, Id %2, \"%3\", module %4").arg(op.opID).arg(op.Id).arg(op.name).arg(op.mdID);
}

// The operations left out for reason, under a heading, the first ListedOperations of them named.
QStringList leftOutLines(const QList<groups::LeftOutOperation>& operations, groups::LeftOutOperation::Reason reason,
                         const QString& heading) {
    QStringList names;
    int count = 0;
    for (const groups::LeftOutOperation& op : operations) {
        if (op.reason != reason)
            continue;
        if (++count <= ListedOperations)
            names << operationLine(op);
    }
    if (count == 0)
        return {};
    QStringList lines{heading.arg(count)};
    lines << names;
    if (count > ListedOperations)
        lines << QStringLiteral("    and %1 more").arg(count - ListedOperations);
    return lines;
}

} // namespace

void RefreshReport::unread(const QString& what, const QString& message) {
    // The lists of one query (the groups of both pages) fail together: each failure is told once.
    const QString line = QStringLiteral("Could not read %1: %2").arg(what, message);
    if (!m_unread.contains(line))
        m_unread << line;
}

void RefreshReport::leftOut(const QList<groups::LeftOutOperation>& operations) {
    m_leftOut << operations;
}

void RefreshReport::show(frmMain& form) const {
    if (m_unread.isEmpty() && m_leftOut.isEmpty())
        return;
    using Reason = groups::LeftOutOperation::Reason;
    QStringList lines{QStringLiteral("The window does not show everything the database holds."), QString()};
    lines << m_unread;
    lines << leftOutLines(m_leftOut, Reason::NoModule,
                          QStringLiteral("Operations left out of the tree because their module does not exist (%1):"));
    lines << leftOutLines(m_leftOut, Reason::KeyTwice,
                          QStringLiteral("Operations left out of the tree because an operation read before has "
                                         "the same key (%1):"));
    const bool group = !form.groupEditor().loadedCompletely();
    const bool user = !form.userEditor().loadedCompletely();
    if (group || user) {
        const QString refused = group && user ? QStringLiteral("the group and the user")
                                : group       ? QStringLiteral("the group")
                                              : QStringLiteral("the user");
        lines << QString() << QStringLiteral("Save refuses %1 until a refresh reads everything.").arg(refused);
    }
    common::showIncomplete(lines.join(QLatin1Char('\n')), &form);
}

} // namespace mainwindow
