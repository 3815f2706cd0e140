// Enumerating the members of 9-bit sets in the order the techniques search them.
#pragma once

#include "grading/grid_geometry.h"

// Calls visit(s) for every subset s of `pool` with exactly `size` members, in ascending
// numeric order of s, until visit returns true; returns whether one did. Skipping the sets
// that hold a member outside the pool keeps the order of a plain scan over 1..511 while
// looking only at the sets that can still form a pattern.
template <class Visit>
bool ForEachSubsetOfSize(unsigned pool, int size, Visit visit)
{
    const int available = CountBits(pool);
    if (size <= 0 || size > available) return false;
    int member[9];
    int count = 0;
    for (unsigned rest = pool; rest; rest &= rest - 1) member[count++] = LowestBitIndex(rest);
    // Gosper's hack walks the size-member choices of `available` indices in ascending
    // order; spreading each choice onto the pool's bits keeps that order.
    for (unsigned choice = (1u << size) - 1; choice < (1u << available);) {
        unsigned s = 0;
        for (unsigned bits = choice; bits; bits &= bits - 1) s |= 1u << member[LowestBitIndex(bits)];
        if (visit(s)) return true;
        unsigned low = choice & -choice;
        unsigned ripple = choice + low;
        choice = (((ripple ^ choice) >> 2) / low) | ripple;
    }
    return false;
}

// The members of a set, lowest first.
template <class Visit>
void ForEachMember(unsigned set, Visit visit)
{
    for (; set; set &= set - 1) visit(LowestBitIndex(set));
}
