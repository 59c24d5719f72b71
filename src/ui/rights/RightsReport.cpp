#include "ui/rights/RightsReport.h"

#include "db/SharedConnection.h"
#include "ui/rights/GroupLabel.h"

namespace rights {

RightsReport::RightsReport(store::ReportScope scope, int id, QString subject, Suite suite, QDate date)
    : m_scope(scope), m_id(id), m_subject(std::move(subject)), m_suite(std::move(suite)), m_date(date) {}

QString RightsReport::title() const {
    return QStringLiteral("Rights report: ") + m_subject;
}

QString RightsReport::subtitle() const {
    return QStringLiteral("Server : %1    Database : %2    Date : %3")
        .arg(m_suite.server, m_suite.database, m_date.toString(QStringLiteral("dd.MM.yyyy")));
}

QStringList RightsReport::columnTitles() {
    return {QStringLiteral("User code"), QStringLiteral("User name"), QStringLiteral("Company"),
            QStringLiteral("Module"),    QStringLiteral("Operation"), QStringLiteral("Via group")};
}

bool RightsReport::read(const std::function<bool(const ReportRow&)>& row,
                        const std::function<bool(int, int)>& progress) const {
    const std::shared_ptr<db::Connection> connection = db::ReplaceSharedConnection();
    int total = 0;
    {
        db::RecordSet users = store::GetRightsReportUsers(connection, m_scope, m_id);
        total = users.eof() ? 0 : users.field(0).toInt();
    }
    db::RecordSet set = store::GetRightsReport(connection, m_scope, m_id);
    const std::array<int, 6> columns = {set.fieldIndex("usCod"),      set.fieldIndex("usDenumire"),
                                        set.fieldIndex("Company"),    set.fieldIndex("mdDenumire"),
                                        set.fieldIndex("opDenumire"), set.fieldIndex("grCod")};
    const std::array<int, 5> identity = {set.fieldIndex("usID"), set.fieldIndex("IdAuthor"), set.fieldIndex("opID"),
                                         set.fieldIndex("Id"), set.fieldIndex("grID")};
    int done = 0;
    std::array<int, 5> last = {};
    ReportRow values;
    for (; !set.eof(); set.moveNext()) {
        // A membership or a grant the suite lists twice gives the same row twice, one after the
        // other: the report names each right once.
        std::array<int, 5> current;
        for (std::size_t i = 0; i < identity.size(); ++i)
            current[i] = set.field(identity[i]).toInt();
        if (done > 0 && current == last)
            continue;
        // The user's id comes first.
        const bool nextUser = done == 0 || current[0] != last[0];
        last = current;
        if (nextUser) {
            if (progress && !progress(done, total))
                return false;
            ++done;
        }
        for (std::size_t i = 0; i + 1 < columns.size(); ++i)
            values[i] = set.field(columns[i]).toString();
        // A group without a code is named by its id, as the rights views name it.
        values[5] = GroupLabel(set.field(identity[4]), set.field(columns[5]));
        if (!row(values))
            return false;
    }
    set.close();
    if (progress)
        progress(total, total);
    return true;
}

} // namespace rights
