#pragma once

#include "store/RecordVersions.h"

#include <QString>

class QWidget;

namespace mainwindow {

// What the administrator wants done with a record that someone else changed or deleted since the
// window loaded it.
enum class ChangedElsewhereAnswer { Overwrite, Reload, SaveAsNew, Cancel };

// Asks about a record (record names it: "group 'ADMIN'", "user 'ana'") that someone else changed
// since it was loaded, naming what changed (company names the company whose grants are meant).
// For a record that is gone: "Save as new" or Cancel when saving, only Cancel when deleting. For
// a changed one: "Overwrite" (or "Delete anyway" when deleting), "Reload" or Cancel.
ChangedElsewhereAnswer askAboutChangedElsewhere(QWidget* parent, const QString& record,
                                                const store::ChangesElsewhere& changes, const QString& company,
                                                bool deleting);

// The sentences that name what changed, one per line.
QStringList describeChanges(const store::ChangesElsewhere& changes, const QString& company);

} // namespace mainwindow
