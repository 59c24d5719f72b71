#include "support/ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>

ModalAnswerer::ModalAnswerer(QMessageBox::StandardButton button, QObject* parent) : QObject(parent), m_button(button) {
    m_timerId = startTimer(10);
}

ModalAnswerer::ModalAnswerer(const QString& buttonText, QObject* parent)
    : ModalAnswerer(QStringList{buttonText}, parent) {}

ModalAnswerer::ModalAnswerer(const QStringList& buttonTexts, QObject* parent)
    : QObject(parent), m_button(QMessageBox::NoButton), m_buttonTexts(buttonTexts) {
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
    m_texts << m_text;
    m_textFormat = box->textFormat();
    m_icon = box->icon();
    m_buttons = box->standardButtons();
    // The last text answers every box after it.
    const QString wanted = m_buttonTexts.value(qMin<qsizetype>(m_count - 1, m_buttonTexts.size() - 1));
    for (QAbstractButton* b : box->buttons()) {
        if (!wanted.isEmpty() && QString(b->text()).remove(QLatin1Char('&')) == wanted) {
            b->click();
            return;
        }
    }
    if (QAbstractButton* b = box->button(m_button))
        b->click();
    else
        box->reject();
}
