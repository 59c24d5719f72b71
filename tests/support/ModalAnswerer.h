#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>

// Answers the next modal message box from a timer, remembering its title, text (and its format),
// icon and buttons, so tests can drive code that shows one.
class ModalAnswerer : public QObject {
    Q_OBJECT
public:
    // Starts watching; the first modal QMessageBox that appears is answered with `button`.
    explicit ModalAnswerer(QMessageBox::StandardButton button = QMessageBox::Ok, QObject* parent = nullptr);
    // The same, answering with the button whose text is buttonText ("Overwrite", "Reload", "Yes",
    // shortcut marks ignored); with several texts, each box with the next one.
    explicit ModalAnswerer(const QString& buttonText, QObject* parent = nullptr);
    explicit ModalAnswerer(const QStringList& buttonTexts, QObject* parent = nullptr);
    ~ModalAnswerer() override;

    bool seen() const { return m_count > 0; }
    int count() const { return m_count; }
    QString title() const { return m_title; }
    QString text() const { return m_text; }
    // The texts of every box answered, in order.
    QStringList texts() const { return m_texts; }
    Qt::TextFormat textFormat() const { return m_textFormat; }
    QMessageBox::Icon icon() const { return m_icon; }
    QMessageBox::StandardButtons buttons() const { return m_buttons; }

private:
    void poll();

    QMessageBox::StandardButton m_button;
    QStringList m_buttonTexts;
    QStringList m_texts;
    int m_timerId = 0;
    int m_count = 0;
    QString m_title;
    QString m_text;
    Qt::TextFormat m_textFormat = Qt::AutoText;
    QMessageBox::Icon m_icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons m_buttons;

protected:
    void timerEvent(QTimerEvent*) override { poll(); }
};
