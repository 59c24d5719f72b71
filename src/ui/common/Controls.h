#pragma once

#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/Twips.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QRect>
#include <QString>

// Makes the window's controls at their designed places: each one named (objectName) and placed
// in its container.
namespace common {

struct Column {
    QString title;
    int width; // twips
};

template <typename Control> Control* place(Control* control, const char* name, const QRect& rect) {
    control->setObjectName(name);
    control->setGeometry(rect);
    return control;
}

inline QLabel* label(QWidget* container, const char* name, const QString& text, const QRect& rect) {
    return place(new QLabel(text, container), name, rect);
}

// A text box; maxLength 0 leaves the length open.
inline QLineEdit* textBox(QWidget* container, const char* name, const QRect& rect, int maxLength = 0) {
    auto* box = place(new QLineEdit(container), name, rect);
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    return box;
}

inline QLineEdit* passwordBox(QWidget* container, const char* name, const QRect& rect) {
    auto* box = place(new QLineEdit(container), name, rect);
    box->setEchoMode(QLineEdit::Password);
    // Typed characters show as "*", whatever the style's own password character is.
    box->setStyleSheet("QLineEdit { lineedit-password-character: 42; }");
    return box;
}

inline KeyedComboBox* imageCombo(QWidget* container, const char* name, const QRect& rect) {
    return place(new KeyedComboBox(container), name, rect);
}

// A list view in details view: a visible header with the designed column widths, no tree lines.
template <typename List = KeyedTreeWidget>
List* listView(QWidget* container, const char* name, const QRect& rect, const QList<Column>& columns) {
    auto* list = place(new List(container), name, rect);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setColumnCount(static_cast<int>(columns.size()));
    QStringList titles;
    for (const Column& column : columns)
        titles << column.title;
    list->setHeaderLabels(titles);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsClickable(true);
    for (int i = 0; i < columns.size(); ++i)
        list->setColumnWidth(i, twipsToPixels(columns[i].width));
    return list;
}

inline QGroupBox* frame(QWidget* container, const char* name, const QString& caption, const QRect& rect) {
    return place(new QGroupBox(caption, container), name, rect);
}

} // namespace common
