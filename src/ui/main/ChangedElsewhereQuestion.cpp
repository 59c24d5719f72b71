#include "ui/main/ChangedElsewhereQuestion.h"

#include "ui/common/MessageBox.h"

#include <QMessageBox>
#include <QPushButton>

namespace mainwindow {

namespace {

QString count(int n, const char* one, const char* many) {
    return QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
}

// "2 operations of company Brădet were added by someone else"
void addCounted(QStringList& lines, int added, int removed, const char* one, const char* many, const QString& of) {
    for (const auto& [n, what] : {std::pair{added, "added"}, std::pair{removed, "removed"}})
        if (n > 0)
            lines << QStringLiteral("%1%2 %3 %4 by someone else")
                         .arg(count(n, one, many), of, QLatin1String(n == 1 ? "was" : "were"), QLatin1String(what));
}

} // namespace

QStringList describeChanges(const store::ChangesElsewhere& changes, const QString& company) {
    QStringList lines;
    if (!changes.fields.isEmpty())
        lines << QStringLiteral("%1 changed by someone else")
                     .arg(changes.fields.join(QStringLiteral(", ")) +
                          QLatin1String(changes.fields.size() == 1 ? " was" : " were"));
    const QString ofCompany = company.isEmpty() ? QString() : QStringLiteral(" of company ") + company;
    addCounted(lines, changes.operationsAdded, changes.operationsRemoved, "operation", "operations", ofCompany);
    addCounted(lines, changes.workPointsAdded, changes.workPointsRemoved, "work point", "work points", ofCompany);
    addCounted(lines, changes.groupsAdded, changes.groupsRemoved, "group membership", "group memberships", QString());
    if (changes.personChanged)
        lines << QStringLiteral("the HR person was changed by someone else");
    return lines;
}

ChangedElsewhereAnswer askAboutChangedElsewhere(QWidget* parent, const QString& record,
                                                const store::ChangesElsewhere& changes, const QString& company,
                                                bool deleting) {
    QMessageBox box(QMessageBox::Warning, common::AppTitle(), QString(), QMessageBox::Cancel, parent);
    QPushButton* overwrite = nullptr;
    QPushButton* reload = nullptr;
    QPushButton* asNew = nullptr;
    if (changes.deleted) {
        box.setText(QStringLiteral("The %1 was deleted by someone else since it was loaded.").arg(record) +
                    (deleting ? QString() : QStringLiteral("\nSave it again as a new record?")));
        if (!deleting)
            asNew = box.addButton(QStringLiteral("Save as new"), QMessageBox::AcceptRole);
    } else {
        box.setText(QStringLiteral("The %1 was changed by someone else since it was loaded:\n- %2\n\n%3")
                        .arg(record, describeChanges(changes, company).join(QStringLiteral("\n- ")),
                             deleting ? QStringLiteral("Delete it anyway, or reload it to see what changed?")
                                      : QStringLiteral("Overwrite their changes with yours, or reload theirs and "
                                                       "drop yours?")));
        overwrite = box.addButton(deleting ? QStringLiteral("Delete anyway") : QStringLiteral("Overwrite"),
                                  QMessageBox::DestructiveRole);
        reload = box.addButton(QStringLiteral("Reload"), QMessageBox::ResetRole);
    }
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    common::ExecMessageBox(box);
    if (box.clickedButton() && box.clickedButton() == overwrite)
        return ChangedElsewhereAnswer::Overwrite;
    if (box.clickedButton() && box.clickedButton() == reload)
        return ChangedElsewhereAnswer::Reload;
    if (box.clickedButton() && box.clickedButton() == asNew)
        return ChangedElsewhereAnswer::SaveAsNew;
    return ChangedElsewhereAnswer::Cancel;
}

} // namespace mainwindow
