#include "ui/common/ItemKey.h"

#include <charconv>
#include <iterator>

namespace common {

QString ItemKey(int id) {
    // One allocation: the lists make a key per record on every fill.
    char text[16] = {'k'};
    const char* end = std::to_chars(text + 1, std::end(text), id).ptr;
    return QString::fromLatin1(text, end - text);
}

PackedKey PackedItemKey(int id) {
    return PackedKey{{id}, u'k', 1};
}

QString ItemKey(const QVariant& id) {
    return ItemKey(id.toInt());
}

} // namespace common
