// Small unavoidable sets of a solution grid. An unavoidable set is a set of cells whose
// digits can be rearranged among themselves into another valid grid: a puzzle with no
// given in it has a second solution. Digging checks them before asking the solver, since
// near the end of a dig most givens cannot go, and many because of such a small set.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "grading/grid_geometry.h"

class UnavoidableSets {
public:
    // Finds the sets of two kinds, each under 18 cells:
    //  - two rows of a band (or two columns of a stack) whose digits, read column by column,
    //    swap among themselves on a cycle of columns: the two rows trade those digits;
    //  - two digits whose cells link through shared houses into a group that holds each
    //    house's pair of the two digits whole: the two digits trade places there.
    explicit UnavoidableSets(const uint8_t solution[81]);

    // True when some set holds no cell of `givens` apart from those of `removed`: taking
    // `removed` away from a puzzle of that solution leaves it with more than one solution.
    bool LeavesUncovered(CellSet givens, CellSet removed) const
    {
        const CellSet left = givens & ~removed;
        for (int i = 0; i < count_; ++i)
            if ((sets_[i] & removed) && !(sets_[i] & left)) return true;
        return false;
    }

    std::span<const CellSet> Sets() const { return {sets_.data(), static_cast<size_t>(count_)}; }

private:
    void Add(CellSet set) { sets_[count_++] = set; }

    // At most four cycles under 9 columns for each of the 18 pairs of lines, and at most four
    // groups under 18 cells for each of the 36 pairs of digits.
    std::array<CellSet, 18 * 4 + 36 * 4> sets_;
    int count_ = 0;
};
