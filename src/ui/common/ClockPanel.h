#pragma once

#include <QLabel>
#include <QTimer>

// A status bar panel that shows the current time or date and keeps it current by itself.
class ClockPanel : public QLabel {
    Q_OBJECT
public:
    enum class Kind { Time, Date };

    explicit ClockPanel(Kind kind, QWidget* parent = nullptr);

    // Shows the current time or date now.
    void tick();

private:
    Kind m_kind;
    QTimer m_timer;
};
