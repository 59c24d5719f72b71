#include "ui/rights/ReportLayout.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <array>

namespace rights {

namespace {

// The share of the width each column takes: user code, user name, company, module, operation,
// group.
constexpr std::array<double, 6> ColumnShares = {0.12, 0.17, 0.22, 0.17, 0.21, 0.11};

} // namespace

struct ReportLayout::Metrics {
    double width = 0;
    double height = 0;
    double line = 0;      // a row's height
    double titleLine = 0; // the title's height
    double headHeight = 0;
    double footHeight = 0;
    int rowsPerPage = 1;
};

ReportLayout::ReportLayout(const RightsReport& report, const QList<ReportRow>& rows) : m_report(report), m_rows(rows) {
    m_titleFont.setPointSizeF(12);
    m_titleFont.setBold(true);
    m_textFont.setPointSizeF(8);
    m_boldFont = m_textFont;
    m_boldFont.setBold(true);
}

ReportLayout::Metrics ReportLayout::metrics(const QPagedPaintDevice* device) const {
    // Font metrics in the device's own units, so that a page holds the same rows at any resolution.
    auto* paintDevice = const_cast<QPagedPaintDevice*>(device);
    Metrics m;
    m.width = device->width();
    m.height = device->height();
    m.line = QFontMetricsF(m_textFont, paintDevice).height() * 1.25;
    m.titleLine = QFontMetricsF(m_titleFont, paintDevice).height() * 1.3;
    // Title, subtitle, a blank half line, the column titles with a rule under them.
    m.headHeight = m.titleLine + m.line * 2.7;
    m.footHeight = m.line * 1.6;
    m.rowsPerPage = qMax(1, int((m.height - m.headHeight - m.footHeight) / m.line));
    return m;
}

int ReportLayout::rowsPerPage(const QPagedPaintDevice* device) const {
    return metrics(device).rowsPerPage;
}

int ReportLayout::pageCount(const QPagedPaintDevice* device) const {
    const int perPage = rowsPerPage(device);
    return qMax(1, int((m_rows.size() + perPage - 1) / perPage));
}

void ReportLayout::paintHead(QPainter& painter, const Metrics& m) const {
    painter.setFont(m_titleFont);
    painter.drawText(QRectF(0, 0, m.width, m.titleLine), Qt::AlignLeft | Qt::AlignVCenter,
                     painter.fontMetrics().elidedText(m_report.title(), Qt::ElideRight, int(m.width)));
    painter.setFont(m_textFont);
    painter.drawText(QRectF(0, m.titleLine, m.width, m.line), Qt::AlignLeft | Qt::AlignVCenter, m_report.subtitle());
    painter.setFont(m_boldFont);
    const double top = m.titleLine + m.line * 1.5;
    double x = 0;
    const QStringList titles = RightsReport::columnTitles();
    for (std::size_t c = 0; c < ColumnShares.size(); ++c) {
        painter.drawText(QRectF(x, top, m.width * ColumnShares[c], m.line), Qt::AlignLeft | Qt::AlignVCenter,
                         titles.at(int(c)));
        x += m.width * ColumnShares[c];
    }
    painter.drawLine(QPointF(0, top + m.line), QPointF(m.width, top + m.line));
}

void ReportLayout::paintFoot(QPainter& painter, const Metrics& m, int page, int pages) const {
    painter.setFont(m_textFont);
    const QRectF foot(0, m.height - m.line, m.width, m.line);
    painter.drawLine(QPointF(0, foot.top() - m.line * 0.3), QPointF(m.width, foot.top() - m.line * 0.3));
    painter.drawText(foot, Qt::AlignLeft | Qt::AlignVCenter, m_report.title());
    painter.drawText(foot, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Page %1 of %2").arg(page).arg(pages));
}

void ReportLayout::paint(QPainter& painter, QPagedPaintDevice* device) const {
    const Metrics m = metrics(device);
    const int pages = qMax(1, int((m_rows.size() + m.rowsPerPage - 1) / m.rowsPerPage));
    const double padding = m.line * 0.3;
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            device->newPage();
        paintHead(painter, m);
        painter.setFont(m_textFont);
        const QFontMetricsF fonts(m_textFont, device);
        const qsizetype first = qsizetype(page) * m.rowsPerPage;
        const qsizetype last = qMin<qsizetype>(m_rows.size(), first + m.rowsPerPage);
        double y = m.headHeight;
        for (qsizetype r = first; r < last; ++r, y += m.line) {
            double x = 0;
            const ReportRow& row = m_rows.at(r);
            for (std::size_t c = 0; c < ColumnShares.size(); ++c) {
                const double width = m.width * ColumnShares[c];
                painter.drawText(QRectF(x, y, width - padding, m.line), Qt::AlignLeft | Qt::AlignVCenter,
                                 fonts.elidedText(row[c].simplified(), Qt::ElideRight, width - padding));
                x += width;
            }
        }
        paintFoot(painter, m, page + 1, pages);
    }
}

} // namespace rights
