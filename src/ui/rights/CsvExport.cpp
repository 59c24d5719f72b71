#include "ui/rights/CsvExport.h"

#include "ui/rights/CsvWriter.h"
#include "ui/rights/RightsReport.h"

#include <QSaveFile>

namespace rights {

ExportResult WriteCsv(const RightsReport& report, const QString& path, const std::function<bool(int, int)>& progress,
                      QString* error) {
    QSaveFile file(path);
    // A database error thrown below drops the file unwritten (QSaveFile's destructor).
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return ExportResult::Failed;
    }
    CsvWriter csv(&file);
    csv.writeRecord(RightsReport::columnTitles());
    bool writing = true;
    const bool complete = report.read(
        [&](const ReportRow& row) {
            csv.writeFields(row);
            writing = csv.ok();
            return writing;
        },
        progress);
    if (!complete || !csv.flush()) {
        const bool cancelled = writing && csv.ok();
        *error = file.errorString();
        file.cancelWriting();
        return cancelled ? ExportResult::Cancelled : ExportResult::Failed;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return ExportResult::Failed;
    }
    return ExportResult::Written;
}

} // namespace rights
