#pragma once

#include <cstddef>
#include <vector>

// The weight line's points by pixel column, built while the line is drawn
// and smoothed by the average curves. An entry whose x is 0 holds no point.
// It covers at least columns 0 to W + 29 (everything the gap fill and the
// curves read) and never fewer than 1000 columns.
class ColumnTable {
public:
    struct Entry {
        int x = 0;
        int y = 0;
    };

    ColumnTable(int clientWidth, int leftMargin);

    int Size() const { return static_cast<int>(m_entries.size()); }
    bool Covers(int column) const { return column >= 0 && column < Size(); }
    // Out of range reads as an empty entry; callers stay in range.
    Entry At(int column) const { return Covers(column) ? m_entries[static_cast<std::size_t>(column)] : Entry{}; }
    // A point outside the table is not stored. Inline: called once per record.
    void Store(int x, int y)
    {
        if (Covers(x))
            m_entries[static_cast<std::size_t>(x)] = {x, y};
    }
    // Gives every column from 0 to lastColumn the y of the nearest point on
    // its left, and the columns left of `firstColumn`'s point that point's y.
    void FillGaps(int firstColumn, int lastColumn);

private:
    std::vector<Entry> m_entries;
};
