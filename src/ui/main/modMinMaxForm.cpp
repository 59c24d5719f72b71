#include "ui/main/modMinMaxForm.h"

#include "app/MessageBox.h"
#include "ui/common/Twips.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QSettings>
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

} // namespace

void SaveWindowSettings(QWidget* form, bool& positionOnly) {
    QSettings settings(QSettings::UserScope, AppTitle(), AppTitle());
    settings.beginGroup("Settings");
    const QString name = form->objectName();
    const int state = stateCode(form);
    settings.setValue(name + "WindowState", QString::number(state));
    if (state == 0) {
        // Position and size only for a normal window, so the last normal placement stays stored.
        const QRect frame = form->frameGeometry();
        settings.setValue(name + "Left", QString::number(twips::fromPixels(frame.x())));
        settings.setValue(name + "Top", QString::number(twips::fromPixels(frame.y())));
        if (!positionOnly) {
            settings.setValue(name + "Width", QString::number(twips::fromPixels(frame.width())));
            settings.setValue(name + "Height", QString::number(twips::fromPixels(frame.height())));
        }
    }
    settings.endGroup();
    // A store that cannot be written (QSettings::AccessError) is deliberately not reported.
    settings.sync();
}

void SetDropDownWidth(QComboBox* combo, int& width) {
    combo->view()->setMinimumWidth(width);
}

} // namespace modMinMaxForm
