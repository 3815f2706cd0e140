#include "tests/grading/reference_engine.h"

#include "grading/grid_geometry.h"

static GridGeometry& G = gridGeometry;
#define placed candidateGrid.placed
#define candidates candidateGrid.candidates

int ReferenceNakedSingles()
{
    int progress = 0;
    for (int x = 0; x <= 80; ++x) {
        if (placed[x] == 0 && G.bitCount[candidates[x]] == 1) {
            PlaceDigit(x, G.digitOfBit[candidates[x]]);
            progress = 1;
        }
    }
    return progress;
}

int ReferenceHiddenSingle()
{
    for (int u = 0; u <= 26; ++u) {
        for (int d = 1; d <= 9; ++d) {
            int count = 0, cell = -1;
            for (int j = 0; j <= 8; ++j) {
                if (candidates[G.unitCells[u][j]] & (1 << d)) {
                    ++count;
                    cell = G.unitCells[u][j];
                }
            }
            if (count == 1) {
                PlaceDigit(cell, d);
                return 1;
            }
        }
    }
    return 0;
}

int ReferencePointingBoxLine()
{
    for (int b = 0; b <= 8; ++b) {
        for (int d = 1; d <= 9; ++d) {
            int rowSet = 0, columnSet = 0;
            for (int j = 0; j <= 8; ++j) {
                int x = G.unitCells[18 + b][j];
                if (candidates[x] & (1 << d)) {
                    rowSet |= 1 << G.rowOf[x];
                    columnSet |= 1 << G.columnOf[x];
                }
            }
            int removed = 0;
            if (rowSet != 0 && G.bitCount[rowSet] == 1) {
                int r = G.digitOfBit[rowSet];
                for (int j = 0; j <= 8; ++j) {
                    int x = G.unitCells[r][j];
                    if (G.boxOf[x] != b) removed |= RemoveCandidates(x, static_cast<CandidateMask>(1 << d));
                }
            }
            if (columnSet != 0 && G.bitCount[columnSet] == 1) {
                int k = G.digitOfBit[columnSet];
                for (int j = 0; j <= 8; ++j) {
                    int x = G.unitCells[9 + k][j];
                    if (G.boxOf[x] != b) removed |= RemoveCandidates(x, static_cast<CandidateMask>(1 << d));
                }
            }
            if (removed) return 1;
        }
    }
    for (int u = 0; u <= 17; ++u) {
        for (int d = 1; d <= 9; ++d) {
            int boxSet = 0;
            for (int j = 0; j <= 8; ++j) {
                int x = G.unitCells[u][j];
                if (candidates[x] & (1 << d)) boxSet |= 1 << G.boxOf[x];
            }
            if (boxSet != 0 && G.bitCount[boxSet] == 1) {
                int b = G.digitOfBit[boxSet];
                int removed = 0;
                for (int j = 0; j <= 8; ++j) {
                    int x = G.unitCells[18 + b][j];
                    bool outside = u < 9 ? G.rowOf[x] != u : G.columnOf[x] != u - 9;
                    if (outside) removed |= RemoveCandidates(x, static_cast<CandidateMask>(1 << d));
                }
                if (removed) return 1;
            }
        }
    }
    return 0;
}

int ReferenceNakedSubset(int n)
{
    for (int u = 0; u <= 26; ++u) {
        for (int s = 1; s <= 511; ++s) {
            if (G.bitCount[s] != n) continue;
            bool drop = false;
            int unionMask = 0;
            for (int j = 0; j <= 8; ++j) {
                if (!(s & (1 << j))) continue;
                int x = G.unitCells[u][j];
                if (placed[x] != 0) {
                    drop = true;
                    break;
                }
                unionMask |= candidates[x];
            }
            if (drop || G.bitCount[unionMask] != n) continue;
            int removed = 0;
            for (int j = 0; j <= 8; ++j)
                if (!(s & (1 << j))) removed |= RemoveCandidates(G.unitCells[u][j], static_cast<CandidateMask>(unionMask));
            if (removed) return 1;
        }
    }
    return 0;
}

int ReferenceHiddenSubset(int n)
{
    for (int u = 0; u <= 26; ++u) {
        int placedDigits = 0;
        for (int j = 0; j <= 8; ++j) placedDigits |= 1 << placed[G.unitCells[u][j]];
        for (int s = 1; s <= 511; ++s) {
            if (G.bitCount[s] != n) continue;
            int digitMask = s << 1;
            if (digitMask & placedDigits) continue;
            int positions = 0;
            for (int j = 0; j <= 8; ++j)
                if (candidates[G.unitCells[u][j]] & digitMask) positions |= 1 << j;
            if (G.bitCount[positions] != n) continue;
            int removed = 0;
            for (int j = 0; j <= 8; ++j) {
                if (!(positions & (1 << j))) continue;
                int x = G.unitCells[u][j];
                removed |= RemoveCandidates(x, static_cast<CandidateMask>(candidates[x] & ~digitMask));
            }
            if (removed) return 1;
        }
    }
    return 0;
}

int ReferenceFish(int n)
{
    for (int d = 1; d <= 9; ++d) {
        for (int orientation = 0; orientation <= 1; ++orientation) {
            int position[9];
            for (int k = 0; k <= 8; ++k) {
                position[k] = 0;
                for (int j = 0; j <= 8; ++j)
                    if (candidates[G.unitCells[9 * orientation + k][j]] & (1 << d)) position[k] |= 1 << j;
            }
            for (int s = 1; s <= 511; ++s) {
                if (G.bitCount[s] != n) continue;
                bool drop = false;
                int cover = 0;
                for (int k = 0; k <= 8; ++k) {
                    if (!(s & (1 << k))) continue;
                    if (position[k] == 0) {
                        drop = true;
                        break;
                    }
                    cover |= position[k];
                }
                if (drop || G.bitCount[cover] != n) continue;
                int removed = 0;
                for (int m = 0; m <= 8; ++m) {
                    if (!(cover & (1 << m))) continue;
                    int unit = 9 * (1 - orientation) + m;
                    for (int p = 0; p <= 8; ++p)
                        if (!(s & (1 << p))) removed |= RemoveCandidates(G.unitCells[unit][p], static_cast<CandidateMask>(1 << d));
                }
                if (removed) return 1;
            }
        }
    }
    return 0;
}

int ReferenceXYWing()
{
    for (int x = 0; x <= 80; ++x) {
        if (G.bitCount[candidates[x]] != 2) continue;
        int pivotMask = candidates[x];
        for (int i = 0; i <= 19; ++i) {
            int p1 = G.peers[x][i];
            int m1 = candidates[p1];
            if (G.bitCount[m1] != 2 || m1 == pivotMask || G.bitCount[m1 & pivotMask] != 1) continue;
            int z = m1 & ~pivotMask;
            int wanted = z | (pivotMask & ~m1);
            for (int j = 0; j <= 19; ++j) {
                int p2 = G.peers[x][j];
                if (candidates[p2] != wanted) continue;
                int removed = 0;
                for (int t = 0; t <= 80; ++t)
                    if (t != p1 && t != p2 && G.isPeer[p1][t] && G.isPeer[p2][t])
                        removed |= RemoveCandidates(t, static_cast<CandidateMask>(z));
                if (removed) return 1;
            }
        }
    }
    return 0;
}

int ReferenceXYZWing()
{
    for (int x = 0; x <= 80; ++x) {
        if (G.bitCount[candidates[x]] != 3) continue;
        int pivotMask = candidates[x];
        for (int i = 0; i <= 19; ++i) {
            int p1 = G.peers[x][i];
            int m1 = candidates[p1];
            if (G.bitCount[m1] != 2 || (m1 & ~pivotMask) != 0) continue;
            for (int j = i + 1; j <= 19; ++j) {
                int p2 = G.peers[x][j];
                int m2 = candidates[p2];
                if (G.bitCount[m2] != 2 || (m2 & ~pivotMask) != 0 || (m1 | m2) != pivotMask) continue;
                int z = m1 & m2;
                int removed = 0;
                for (int t = 0; t <= 80; ++t)
                    if (t != x && t != p1 && t != p2 && G.isPeer[x][t] && G.isPeer[p1][t] && G.isPeer[p2][t])
                        removed |= RemoveCandidates(t, static_cast<CandidateMask>(z));
                if (removed) return 1;
            }
        }
    }
    return 0;
}

int ReferenceTechniqueStep(int maxLevel)
{
    if (ReferenceNakedSingles()) return 1;
    if (ReferenceHiddenSingle()) return 2;
    if (maxLevel < 2) return 0;
    if (ReferencePointingBoxLine()) return 3;
    if (ReferenceNakedSubset(2)) return 4;
    if (ReferenceHiddenSubset(2)) return 5;
    if (maxLevel < 3) return 0;
    if (ReferenceNakedSubset(3)) return 6;
    if (ReferenceHiddenSubset(3)) return 7;
    if (ReferenceFish(2)) return 8;
    if (ReferenceFish(3)) return 9;
    if (maxLevel < 4) return 0;
    if (ReferenceXYWing()) return 10;
    if (ReferenceXYZWing()) return 11;
    return 0;
}
