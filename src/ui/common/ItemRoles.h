#pragma once

#include <Qt>

// Where list items, combo items and tree nodes keep their key ("k17"), their tag (the id) and,
// for tree nodes, their check image index.
namespace ItemRoles {
inline constexpr int Key = Qt::UserRole;
inline constexpr int Tag = Qt::UserRole + 1;
inline constexpr int Image = Qt::UserRole + 2;
} // namespace ItemRoles
