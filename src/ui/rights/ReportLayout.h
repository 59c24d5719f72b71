#pragma once

#include "ui/rights/RightsReport.h"

#include <QFont>
#include <QList>

class QPagedPaintDevice;
class QPainter;

namespace rights {

// The printed form of a rights report: on every page the report's title, its subtitle (server,
// database, date) and the column titles, then as many rows as the page holds, each text cut to
// its column, and at the foot "Page n of m".
class ReportLayout {
public:
    // rows must outlive the layout.
    ReportLayout(const RightsReport& report, const QList<ReportRow>& rows);

    // How many rows one page of device holds (at least one).
    int rowsPerPage(const QPagedPaintDevice* device) const;
    // The pages the rows take on device; a report without rows still has its one page.
    int pageCount(const QPagedPaintDevice* device) const;
    // Paints every page on device with painter (active on device), starting on its current page.
    void paint(QPainter& painter, QPagedPaintDevice* device) const;

private:
    struct Metrics;
    Metrics metrics(const QPagedPaintDevice* device) const;
    void paintHead(QPainter& painter, const Metrics& m) const;
    void paintFoot(QPainter& painter, const Metrics& m, int page, int pages) const;

    const RightsReport& m_report;
    const QList<ReportRow>& m_rows;
    QFont m_titleFont;
    QFont m_textFont;
    QFont m_boldFont;
};

} // namespace rights
