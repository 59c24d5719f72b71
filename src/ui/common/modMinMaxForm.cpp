#include "ui/common/modMinMaxForm.h"

#include "ui/common/MessageBox.h"
#include "ui/common/Twips.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QStyle>
#include <QWidget>

namespace modMinMaxForm {

namespace {

int stateCode(const QWidget* form) {
    if (form->isMinimized())
        return 1;
    if (form->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return 2;
    return 0;
}

// A stored value in twips as pixels; false when it is missing or not a whole number.
bool readTwips(const QSettings& settings, const QString& key, int& pixels) {
    bool ok = false;
    const int value = settings.value(key).toString().trimmed().toInt(&ok);
    if (ok)
        pixels = common::twipsToPixels(value);
    return ok;
}

// True when the top strip of frame (where the title bar is) can be reached on some screen.
bool reachable(const QRect& frame) {
    const QRect titleStrip(frame.x(), frame.y(), frame.width(), 24);
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect shown = titleStrip.intersected(screen->availableGeometry());
        if (shown.width() >= qMin(100, frame.width()) && shown.height() >= 8)
            return true;
    }
    return false;
}

// The stored size is the outer one, title bar and borders included, which the window system
// makes known only once the window is shown. When it does, the inner size is made smaller by
// them, so that a window opened and closed again stores the same size and never grows.
class OuterSizeKeeper : public QObject {
public:
    OuterSizeKeeper(QWidget* form, QSize outer) : QObject(form), m_form(form), m_outer(outer) {
        form->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_form && (event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
            m_form->isVisible()) {
            const QSize borders = m_form->frameGeometry().size() - m_form->size();
            if ((borders.width() > 0 || borders.height() > 0) &&
                !(m_form->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
                m_form->removeEventFilter(this);
                // Never larger than it is: a window fitted into a smaller screen stays fitted.
                m_form->resize((m_outer - borders).boundedTo(m_form->size()));
                deleteLater();
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* m_form;
    QSize m_outer;
};

} // namespace

bool LoadWindowSettings(QWidget* form, const QSize& minimum) {
    QSettings settings(QSettings::UserScope, common::AppTitle(), common::AppTitle());
    settings.beginGroup("Settings");
    const QString name = form->objectName();
    QRect frame;
    int left = 0, top = 0, width = 0, height = 0;
    if (readTwips(settings, name + "Left", left) && readTwips(settings, name + "Top", top) &&
        readTwips(settings, name + "Width", width) && readTwips(settings, name + "Height", height))
        frame = QRect(left, top, width, height);
    if (frame.isValid() && width >= minimum.width() && height >= minimum.height() && reachable(frame)) {
        form->move(frame.topLeft());
        form->resize(frame.size());
        new OuterSizeKeeper(form, frame.size());
    }
    return settings.value(name + "WindowState").toString().trimmed() == QLatin1String("2");
}

void SaveWindowSettings(QWidget* form, bool& positionOnly) {
    QSettings settings(QSettings::UserScope, common::AppTitle(), common::AppTitle());
    settings.beginGroup("Settings");
    const QString name = form->objectName();
    const int state = stateCode(form);
    settings.setValue(name + "WindowState", QString::number(state));
    if (state == 0) {
        // Position and size only for a normal window, so the last normal placement stays stored.
        const QRect frame = form->frameGeometry();
        settings.setValue(name + "Left", QString::number(common::pixelsToTwips(frame.x())));
        settings.setValue(name + "Top", QString::number(common::pixelsToTwips(frame.y())));
        if (!positionOnly) {
            settings.setValue(name + "Width", QString::number(common::pixelsToTwips(frame.width())));
            settings.setValue(name + "Height", QString::number(common::pixelsToTwips(frame.height())));
        }
    }
    settings.endGroup();
    // A store that cannot be written (QSettings::AccessError) is deliberately not reported.
    settings.sync();
}

void FitToScreen(QWidget* form) {
    const QScreen* screen = form->screen();
    if (!screen || (form->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    const QRect available = screen->availableGeometry();
    // Before the window manager has framed the window its frame is unknown: allow for a title bar
    // and thin borders.
    QSize frame = form->frameGeometry().size() - form->size();
    if (frame.height() <= 0)
        frame = QSize(8, form->style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8);
    const QSize size = form->size().boundedTo(available.size() - frame);
    if (size != form->size())
        form->resize(size);
    const QSize outer = size + frame;
    const QPoint place(qBound(available.left(), form->x(), available.right() + 1 - outer.width()),
                       qBound(available.top(), form->y(), available.bottom() + 1 - outer.height()));
    if (place != form->pos())
        form->move(place);
}

void SetDropDownWidth(QComboBox* combo, int& width) {
    combo->view()->setMinimumWidth(width);
}

} // namespace modMinMaxForm
