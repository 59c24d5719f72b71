#include "ui/common/ItemKey.h"

QString ItemKey(const QVariant& id) {
    return QStringLiteral("k") + QString::number(id.toInt());
}
