#pragma once

#include <QString>
#include <QVariant>

// The key of the list or combo item that stands for a record: "k" followed by the id in decimal.
QString ItemKey(const QVariant& id);
QString ItemKey(int id);
