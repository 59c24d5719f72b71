#pragma once

#include "ui/common/PackedKey.h"

#include <QString>
#include <QVariant>

namespace common {

// The key of the list or combo item that stands for a record: "k" followed by the id in decimal.
QString ItemKey(const QVariant& id);
QString ItemKey(int id);
// The same key as numbers, as keyed lists hold it.
PackedKey PackedItemKey(int id);

} // namespace common
