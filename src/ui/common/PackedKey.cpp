#include "ui/common/PackedKey.h"

#include <QHashFunctions>
#include <algorithm>
#include <charconv>
#include <cstring>
#include <iterator>

namespace {

constexpr char Separator[] = "#$#";
constexpr int SeparatorLength = 3;
// A letter, three numbers of up to 11 characters and two separators.
constexpr int LongestKey = 1 + 3 * 11 + 2 * SeparatorLength;

// Writes the key of prefix and numbers into text; returns its end.
char* write(char* text, char* end, char prefix, const qint32* numbers, int count) {
    char* at = text;
    *at++ = prefix;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            at = std::copy_n(Separator, SeparatorLength, at);
        at = std::to_chars(at, end, numbers[i]).ptr;
    }
    return at;
}

} // namespace

std::optional<PackedKey> PackedKey::from(QStringView key) {
    if (key.size() < 2 || key.size() > LongestKey)
        return std::nullopt;
    char text[LongestKey];
    for (qsizetype i = 0; i < key.size(); ++i) {
        const char16_t c = key[i].unicode();
        if (c > 0x7f)
            return std::nullopt;
        text[i] = char(c);
    }
    const char* end = text + key.size();
    const char prefix = text[0];
    if (!((prefix >= 'a' && prefix <= 'z') || (prefix >= 'A' && prefix <= 'Z')))
        return std::nullopt;
    PackedKey packed;
    packed.prefix = char16_t(prefix);
    const char* at = text + 1;
    while (true) {
        if (packed.count == 3)
            return std::nullopt;
        const auto [next, error] = std::from_chars(at, end, packed.numbers[packed.count]);
        if (error != std::errc() || next == at)
            return std::nullopt;
        ++packed.count;
        at = next;
        if (at == end)
            break;
        if (end - at <= SeparatorLength || std::memcmp(at, Separator, SeparatorLength) != 0)
            return std::nullopt;
        at += SeparatorLength;
    }
    // Only a key written as text() writes it is held as numbers ("k007" stays text).
    char again[LongestKey + 1];
    const char* againEnd = write(again, std::end(again), prefix, packed.numbers, packed.count);
    if (againEnd - again != end - text || std::memcmp(again, text, size_t(end - text)) != 0)
        return std::nullopt;
    return packed;
}

QString PackedKey::text() const {
    char text[LongestKey + 1];
    const char* end = write(text, std::end(text), char(prefix), numbers, count);
    return QString::fromLatin1(text, end - text);
}

size_t qHash(const PackedKey& key, size_t seed) {
    return qHashMulti(seed, key.numbers[0], key.numbers[1], key.numbers[2], key.prefix, key.count);
}
