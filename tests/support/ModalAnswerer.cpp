#include "support/ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>

ModalAnswerer::ModalAnswerer(QMessageBox::StandardButton button, QObject* parent) : QObject(parent), m_button(button) {
    m_timerId = startTimer(10);
}

ModalAnswerer::~ModalAnswerer() {
    if (m_timerId)
        killTimer(m_timerId);
}

void ModalAnswerer::poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    ++m_count;
    m_title = box->windowTitle();
    m_text = box->text();
    m_textFormat = box->textFormat();
    m_icon = box->icon();
    m_buttons = box->standardButtons();
    if (QAbstractButton* b = box->button(m_button))
        b->click();
    else
        box->reject();
}
