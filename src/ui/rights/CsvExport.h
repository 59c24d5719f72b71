#pragma once

#include <QString>
#include <functional>

namespace rights {

class RightsReport;

// How an export ended.
enum class ExportResult { Written, Cancelled, Failed };

// Writes report to the CSV file path (see CsvWriter): the column titles, then every row as the
// report reads it, streamed from the database to the file. The file is written under a temporary
// name and takes its own name only once complete, so that a cancelled or failed export leaves
// neither a half-written file nor the file that was there before changed. progress is told the
// users gone through and their number, and cancels the export by answering false. A failure to
// write sets error (a database error is raised unchanged).
ExportResult WriteCsv(const RightsReport& report, const QString& path,
                      const std::function<bool(int done, int total)>& progress, QString* error);

} // namespace rights
