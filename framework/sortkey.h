#pragma once

#include <QCollatorSortKey>
#include <QString>

#include <optional>

// What a list orders its rows by in one column: the key text a row gives, compared the way
// the locale orders text (QString::localeAwareCompare), as the old toolkit's list items
// compared their keys. Mixed case and digits thus sort as a person reads them ("007",
// "admin", "Oskar"), not by character code ("007", "Oskar", "admin").
//
// The locale's collation key is made once, the first time a comparison needs it, so a sort
// of many rows costs one collation per row, not one per comparison. Most keys need none:
// two keys of the digits 0-9 alone (the zero-padded counts, sizes and addresses of the
// numeric columns) compare as they stand in any language, and under English so do two
// keys of blanks, digits and the letters a to z and A to Z (account names, queue ids),
// first ignoring case and then with a small letter before its capital, exactly as the
// collation orders them, for a fraction of what a collation key costs.
class SortKey
{
public:
    explicit SortKey(const QString& text);

    const QString& text() const { return m_text; }
    // Below zero when this key sorts first, zero when both sort alike, above zero otherwise.
    int compare(const SortKey& other) const;

    // Whether the key has a head: then two keys with heads whose heads differ compare as
    // their heads do, as numbers, and only keys of equal heads need compare().
    bool hasHead() const { return m_hasHead; }
    quint64 head() const { return m_head; }

private:
    const QCollatorSortKey& collated() const;

    QString m_text;
    // Compared without a collation key when the other key is too: by the texts, first
    // ignoring case when m_fold.
    bool m_plain;
    bool m_fold;
    // Of keys compared without a collation key: their first eight characters, one byte
    // each, packed so that they compare as numbers. A long sort mostly decides by them,
    // without reading the texts where they lie on the heap.
    bool m_hasHead = false;
    quint64 m_head = 0;
    mutable std::optional<QCollatorSortKey> m_collated;
};

// The two texts compared as two sort keys are, for an order made once (a few rows, a
// chooser's first order) where keeping the keys buys nothing.
int compareAsSortKeys(const QString& a, const QString& b);
