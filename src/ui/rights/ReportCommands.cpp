#include "ui/rights/ReportCommands.h"

#include "ui/common/MessageBox.h"
#include "ui/common/WaitCursor.h"
#include "ui/rights/ReportLayout.h"
#include "ui/rights/ReportPrint.h"
#include "ui/rights/RightsReport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QStandardPaths>

namespace rights {

namespace {

constexpr int Information = 64;
constexpr int Exclamation = 48;

// A file name for the report in the documents folder: its title's subject and the date.
QString suggestedPath(const RightsReport& report, const QString& suffix) {
    QString name = report.title().section(QLatin1Char(':'), 1).trimmed();
    for (QChar& c : name)
        if (!c.isLetterOrNumber() && c != QLatin1Char('.') && c != QLatin1Char('-'))
            c = QLatin1Char('_');
    const QString file = QStringLiteral("rights_%1_%2.%3")
                             .arg(name, QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")), suffix);
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(file);
}

// The rows of report for printing, or none (after a message) when it holds too many.
bool readForPrint(QWidget* parent, const RightsReport& report, QList<ReportRow>& rows) {
    {
        const WaitCursor busy;
        if (ReadForPrint(report, rows))
            return true;
    }
    common::MsgBox(QStringLiteral("The report holds more than %L1 rows, too many to print.\r"
                                  "Export it as CSV and open it in a spreadsheet.")
                       .arg(PrintLimit),
                   Exclamation, common::AppTitle(), parent);
    return false;
}

} // namespace

ExportResult WriteCsvWithProgress(QWidget* parent, const RightsReport& report, const QString& path, QString* error) {
    QProgressDialog progress(QStringLiteral("Writing the rights report to %1").arg(QDir::toNativeSeparators(path)),
                             QStringLiteral("Cancel"), 0, 0, parent);
    progress.setObjectName(QStringLiteral("dlgReportProgress"));
    progress.setWindowTitle(common::AppTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    // The dialog is brought up to date (and its Cancel looked at) a few times a second, not for
    // every user: a suite has many.
    QElapsedTimer sinceUpdate;
    sinceUpdate.start();
    const ExportResult result = WriteCsv(
        report, path,
        [&](int done, int total) {
            if (done < total && sinceUpdate.elapsed() < 100)
                return true;
            sinceUpdate.restart();
            progress.setMaximum(total);
            progress.setValue(done);
            return !progress.wasCanceled();
        },
        error);
    progress.close();
    return result;
}

void ExportCsvAsked(QWidget* parent, const RightsReport& report) {
    const QString path =
        QFileDialog::getSaveFileName(parent, QStringLiteral("Save the rights report"),
                                     suggestedPath(report, QStringLiteral("csv")), QStringLiteral("CSV files (*.csv)"));
    if (path.isEmpty())
        return;
    QString error;
    const ExportResult result = WriteCsvWithProgress(parent, report, path, &error);
    if (result == ExportResult::Written)
        common::MsgBox(QStringLiteral("The rights report was written to %1.").arg(QDir::toNativeSeparators(path)),
                       Information, common::AppTitle(), parent);
    else if (result == ExportResult::Failed)
        common::MsgBox(QStringLiteral("The rights report could not be written to %1:\r%2")
                           .arg(QDir::toNativeSeparators(path), error),
                       Exclamation, common::AppTitle(), parent);
}

void PrintPreview(QWidget* parent, const RightsReport& report) {
    QList<ReportRow> rows;
    if (!readForPrint(parent, report, rows))
        return;
    QPrinter printer(QPrinter::HighResolution);
    SetUpPage(&printer);
    printer.setDocName(report.title());
    const ReportLayout layout(report, rows);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setObjectName(QStringLiteral("frmReportPreview"));
    preview.setWindowTitle(report.title());
    // Pages of a landscape report read best in a large window.
    if (parent)
        preview.resize(parent->window()->size() * 0.9);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&layout](QPrinter* device) {
        QPainter painter(device);
        layout.paint(painter, device);
    });
    preview.exec();
}

void ExportPdfAsked(QWidget* parent, const RightsReport& report) {
    const QString path =
        QFileDialog::getSaveFileName(parent, QStringLiteral("Save the rights report as PDF"),
                                     suggestedPath(report, QStringLiteral("pdf")), QStringLiteral("PDF files (*.pdf)"));
    if (path.isEmpty())
        return;
    QList<ReportRow> rows;
    if (!readForPrint(parent, report, rows))
        return;
    QString error;
    int pages = 0;
    {
        const WaitCursor busy;
        pages = WritePdf(report, rows, path, &error);
    }
    if (pages > 0)
        common::MsgBox(QStringLiteral("The rights report (%1 pages) was written to %2.")
                           .arg(pages)
                           .arg(QDir::toNativeSeparators(path)),
                       Information, common::AppTitle(), parent);
    else
        common::MsgBox(QStringLiteral("The rights report could not be written to %1:\r%2")
                           .arg(QDir::toNativeSeparators(path), error),
                       Exclamation, common::AppTitle(), parent);
}

} // namespace rights
