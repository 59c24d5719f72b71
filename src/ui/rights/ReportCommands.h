#pragma once

#include "ui/rights/CsvExport.h"

#include <QString>

class QWidget;

namespace rights {

class RightsReport;

// The report commands as the administrator meets them: a file to choose, a progress dialog that
// can cancel a long export, a print preview, and a message for the outcome. Database errors are
// raised unchanged to the caller, which shows them.

// Asks where to save the CSV file of report, writes it (WriteCsvWithProgress) and tells the
// administrator where it was written, or why not.
void ExportCsvAsked(QWidget* parent, const RightsReport& report);
// Writes the CSV file of report to path (WriteCsv) under a progress dialog (dlgReportProgress)
// whose Cancel stops it, leaving no file behind; a failure sets error.
ExportResult WriteCsvWithProgress(QWidget* parent, const RightsReport& report, const QString& path, QString* error);

// Shows the report's print preview (frmReportPreview), from which it can be printed; a report of
// more than PrintLimit rows is refused with a message.
void PrintPreview(QWidget* parent, const RightsReport& report);
// Asks where to save the report as a PDF file and writes it; refused as PrintPreview.
void ExportPdfAsked(QWidget* parent, const RightsReport& report);

} // namespace rights
