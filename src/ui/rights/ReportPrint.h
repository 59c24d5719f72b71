#pragma once

#include "ui/rights/RightsReport.h"

#include <QList>
#include <QString>

class QPagedPaintDevice;

namespace rights {

// A printed report is laid out whole before its first page shows, so it holds at most this many
// rows (about 1,100 pages); a larger report is for the CSV file.
constexpr int PrintLimit = 50000;

// Reads the rows of report for printing into rows; false, with rows emptied, when it holds more
// than PrintLimit. Database errors are raised unchanged.
bool ReadForPrint(const RightsReport& report, QList<ReportRow>& rows);

// Gives device the report's page setup: A4 landscape with margins of 10 mm.
void SetUpPage(QPagedPaintDevice* device);

// Writes the report's rows as a PDF file at path, through a temporary file as the CSV export
// does; answers the pages written, or 0 with error set when the file could not be written.
int WritePdf(const RightsReport& report, const QList<ReportRow>& rows, const QString& path, QString* error);

} // namespace rights
