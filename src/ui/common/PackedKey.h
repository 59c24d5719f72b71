#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// A list key of the common shapes (a letter and a number, as common::ItemKey and moduleKey make
// them, or a letter and three numbers joined by "#$#", as operationKey makes them) held as its
// numbers. Lists of 100,000 records hold one key per item: as numbers a key takes no allocation
// of its own.
struct PackedKey {
    qint32 numbers[3] = {};
    char16_t prefix = 0;
    quint8 count = 0;

    // The key as numbers, or nothing when key has another shape, or a number written otherwise than
    // text() would write it again (a leading zero, a plus sign, a number out of range), so that
    // text() always gives key back.
    static std::optional<PackedKey> from(QStringView key);
    QString text() const;

    friend bool operator==(const PackedKey&, const PackedKey&) = default;
};

size_t qHash(const PackedKey& key, size_t seed = 0);
