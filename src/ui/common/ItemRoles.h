#pragma once

#include <Qt>

// Where list items, combo items and tree nodes keep their key ("k17"), their tag (the id) and,
// for tree nodes, their check image index.
namespace common {
inline constexpr int KeyRole = Qt::UserRole;
inline constexpr int TagRole = Qt::UserRole + 1;
inline constexpr int ImageRole = Qt::UserRole + 2;
} // namespace common
