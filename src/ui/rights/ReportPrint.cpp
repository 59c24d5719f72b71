#include "ui/rights/ReportPrint.h"

#include "ui/rights/ReportLayout.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace rights {

bool ReadForPrint(const RightsReport& report, QList<ReportRow>& rows) {
    rows.clear();
    const bool all = report.read([&rows](const ReportRow& row) {
        if (rows.size() >= PrintLimit)
            return false;
        rows.append(row);
        return true;
    });
    if (!all)
        rows.clear();
    return all;
}

void SetUpPage(QPagedPaintDevice* device) {
    device->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                                      QPageLayout::Millimeter));
}

int WritePdf(const RightsReport& report, const QList<ReportRow>& rows, const QString& path, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return 0;
    }
    int pages = 0;
    {
        QPdfWriter pdf(&file);
        pdf.setTitle(report.title());
        pdf.setCreator(QStringLiteral("Talvane"));
        SetUpPage(&pdf);
        const ReportLayout layout(report, rows);
        QPainter painter(&pdf);
        layout.paint(painter, &pdf);
        pages = layout.pageCount(&pdf);
    }
    if (!file.commit()) {
        *error = file.errorString();
        return 0;
    }
    return pages;
}

} // namespace rights
