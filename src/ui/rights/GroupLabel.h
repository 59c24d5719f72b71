#pragma once

#include <QString>
#include <QVariant>

namespace rights {

// How the rights views name a group beside a right: by its code, or by its id when the code is
// Null or empty, so that a group without a code is still seen to grant it.
QString GroupLabel(const QVariant& grID, const QVariant& grCod);

} // namespace rights
