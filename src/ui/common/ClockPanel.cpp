#include "ui/common/ClockPanel.h"

#include <QDateTime>
#include <QLocale>

ClockPanel::ClockPanel(Kind kind, QWidget* parent) : QLabel(parent), m_kind(kind) {
    // A second is fine-grained enough for a minutes clock and for the date turning over at midnight.
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &ClockPanel::tick);
    m_timer.start();
    tick();
}

void ClockPanel::tick() {
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale;
    setText(m_kind == Kind::Time ? locale.toString(now.time(), QLocale::ShortFormat)
                                 : locale.toString(now.date(), QLocale::ShortFormat));
}
