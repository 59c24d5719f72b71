#include "ui/rights/GroupLabel.h"

namespace rights {

QString GroupLabel(const QVariant& grID, const QVariant& grCod) {
    const QString code = grCod.toString();
    return code.isEmpty() ? QStringLiteral("(group %1)").arg(grID.toString()) : code;
}

} // namespace rights
