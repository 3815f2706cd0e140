#!/usr/bin/env python3
"""An independent transcription of the grading ladder, in plain Python.

It shares no code with the engine: the grid tables, the eleven techniques and their search
orders are written out here once more, straight from the rules. For every puzzle it reads
the engine's own account of the solving path (`vakidogenerator rate --json`) and replays it
step by step: each step must be the one this transcription takes, with the same placements
and the same removals. Any difference is printed and the exit status is 1.

Usage: ladder_transcription.py VAKIDOGENERATOR [PUZZLE_FILE...]
Puzzles are read as `rate` reads them; without files, from standard input.
"""
import json
import subprocess
import sys

# The grid: cells 0..80 row by row; units 0..8 rows, 9..17 columns, 18..26 boxes.
ROW = [x // 9 for x in range(81)]
COLUMN = [x % 9 for x in range(81)]
BOX = [3 * (x // 27) + (x % 9) // 3 for x in range(81)]
UNIT_CELLS = ([[9 * i + j for j in range(9)] for i in range(9)] +
              [[9 * j + i for j in range(9)] for i in range(9)] +
              [[9 * (3 * (i // 3) + j // 3) + 3 * (i % 3) + j % 3 for j in range(9)] for i in range(9)])
PEERS = [[y for y in range(81) if y != x and (ROW[x] == ROW[y] or COLUMN[x] == COLUMN[y] or BOX[x] == BOX[y])]
         for x in range(81)]
SEES = [set(p) for p in PEERS]
ALL = 0x3FE


def bits(mask):
    return bin(mask).count("1")


def members(mask):
    return [i for i in range(16) if mask >> i & 1]


def sets_of_size(n):
    return [s for s in range(1, 512) if bits(s) == n]


def name(x):
    return "r%dc%d" % (ROW[x] + 1, COLUMN[x] + 1)


class Grid:
    def __init__(self, givens):
        self.placed = [0] * 81
        self.cand = [ALL] * 81
        self.placements, self.removals = [], []
        self.loaded = True
        for x, d in enumerate(givens):
            if d == 0:
                continue
            if not self.cand[x] >> d & 1:
                self.loaded = False
                return
            self.place(x, d)
        self.placements = []

    def place(self, x, d):
        self.placed[x] = d
        self.cand[x] = 0
        for y in PEERS[x]:
            self.cand[y] &= ~(1 << d)
        self.placements.append("%s=%d" % (name(x), d))

    def remove(self, x, mask):
        gone = self.cand[x] & mask
        if not gone:
            return 0
        self.cand[x] &= ~mask
        for d in members(gone):
            self.removals.append("%s<>%d" % (name(x), d))
        return 1

    # Code 1: every cell with one candidate, in one pass, placements taking effect at once.
    def naked_singles(self):
        progress = 0
        for x in range(81):
            if self.placed[x] == 0 and bits(self.cand[x]) == 1:
                self.place(x, members(self.cand[x])[0])
                progress = 1
        return progress

    # Code 2: the first unit, then digit, in which a digit has one possible cell.
    def hidden_single(self):
        for u in range(27):
            for d in range(1, 10):
                cells = [x for x in UNIT_CELLS[u] if self.cand[x] >> d & 1]
                if len(cells) == 1:
                    self.place(cells[0], d)
                    return 1
        return 0

    # Code 3: pointing (box into a line), then box-line reduction (line into a box).
    def pointing_box_line(self):
        for b in range(9):
            for d in range(1, 10):
                cells = [x for x in UNIT_CELLS[18 + b] if self.cand[x] >> d & 1]
                rows = {ROW[x] for x in cells}
                columns = {COLUMN[x] for x in cells}
                removed = 0
                if len(rows) == 1:
                    r = rows.pop()
                    for x in UNIT_CELLS[r]:
                        if BOX[x] != b:
                            removed |= self.remove(x, 1 << d)
                if len(columns) == 1:
                    k = columns.pop()
                    for x in UNIT_CELLS[9 + k]:
                        if BOX[x] != b:
                            removed |= self.remove(x, 1 << d)
                if removed:
                    return 1
        for u in range(18):
            for d in range(1, 10):
                boxes = {BOX[x] for x in UNIT_CELLS[u] if self.cand[x] >> d & 1}
                if len(boxes) != 1:
                    continue
                b = boxes.pop()
                removed = 0
                for x in UNIT_CELLS[18 + b]:
                    on_line = ROW[x] == u if u < 9 else COLUMN[x] == u - 9
                    if not on_line:
                        removed |= self.remove(x, 1 << d)
                if removed:
                    return 1
        return 0

    # Codes 4 and 6: n unplaced cells of a unit whose candidates hold n digits together.
    def naked_subset(self, n):
        for u in range(27):
            cells = UNIT_CELLS[u]
            for s in sets_of_size(n):
                chosen = members(s)
                if any(self.placed[cells[j]] for j in chosen):
                    continue
                union = 0
                for j in chosen:
                    union |= self.cand[cells[j]]
                if bits(union) != n:
                    continue
                removed = 0
                for j in range(9):
                    if j not in chosen:
                        removed |= self.remove(cells[j], union)
                if removed:
                    return 1
        return 0

    # Codes 5 and 7: n digits, none placed in the unit, whose cells there are n cells.
    def hidden_subset(self, n):
        for u in range(27):
            cells = UNIT_CELLS[u]
            placed = 0
            for x in cells:
                placed |= 1 << self.placed[x]
            for s in sets_of_size(n):
                digits = s << 1
                if digits & placed:
                    continue
                positions = [j for j in range(9) if self.cand[cells[j]] & digits]
                if len(positions) != n:
                    continue
                removed = 0
                for j in positions:
                    removed |= self.remove(cells[j], self.cand[cells[j]] & ~digits)
                if removed:
                    return 1
        return 0

    # Codes 8 and 9: n base lines whose cells for a digit lie in n cover lines.
    def fish(self, n):
        for d in range(1, 10):
            for orientation in (0, 1):
                lines = [[j for j in range(9) if self.cand[UNIT_CELLS[9 * orientation + k][j]] >> d & 1]
                         for k in range(9)]
                for s in sets_of_size(n):
                    base = members(s)
                    if any(not lines[k] for k in base):
                        continue
                    cover = sorted({j for k in base for j in lines[k]})
                    if len(cover) != n:
                        continue
                    removed = 0
                    for m in cover:
                        for p in range(9):
                            if p not in base:
                                removed |= self.remove(UNIT_CELLS[9 * (1 - orientation) + m][p], 1 << d)
                    if removed:
                        return 1
        return 0

    # Code 10: pivot {a,b}, pincers {a,z} and {b,z}; z leaves the cells seeing both pincers.
    def xy_wing(self):
        for x in range(81):
            pivot = self.cand[x]
            if bits(pivot) != 2:
                continue
            for p1 in PEERS[x]:
                m1 = self.cand[p1]
                if bits(m1) != 2 or m1 == pivot or bits(m1 & pivot) != 1:
                    continue
                z = m1 & ~pivot
                wanted = z | (pivot & ~m1)
                for p2 in PEERS[x]:
                    if self.cand[p2] != wanted:
                        continue
                    removed = 0
                    for t in range(81):
                        if t != p1 and t != p2 and t in SEES[p1] and t in SEES[p2]:
                            removed |= self.remove(t, z)
                    if removed:
                        return 1
        return 0

    # Code 11: pivot {a,b,z}, pincers {a,z} and {b,z}; z leaves the cells seeing all three.
    def xyz_wing(self):
        for x in range(81):
            pivot = self.cand[x]
            if bits(pivot) != 3:
                continue
            for i, p1 in enumerate(PEERS[x]):
                m1 = self.cand[p1]
                if bits(m1) != 2 or m1 & ~pivot:
                    continue
                for p2 in PEERS[x][i + 1:]:
                    m2 = self.cand[p2]
                    if bits(m2) != 2 or m2 & ~pivot or (m1 | m2) != pivot:
                        continue
                    removed = 0
                    for t in range(81):
                        if t not in (x, p1, p2) and t in SEES[x] and t in SEES[p1] and t in SEES[p2]:
                            removed |= self.remove(t, m1 & m2)
                    if removed:
                        return 1
        return 0

    def step(self, max_level=4):
        self.placements, self.removals = [], []
        ladder = [(1, 1, self.naked_singles), (1, 2, self.hidden_single), (2, 3, self.pointing_box_line),
                  (2, 4, lambda: self.naked_subset(2)), (2, 5, lambda: self.hidden_subset(2)),
                  (3, 6, lambda: self.naked_subset(3)), (3, 7, lambda: self.hidden_subset(3)),
                  (3, 8, lambda: self.fish(2)), (3, 9, lambda: self.fish(3)),
                  (4, 10, self.xy_wing), (4, 11, self.xyz_wing)]
        for level, code, technique in ladder:
            if level > max(1, max_level):
                return 0
            if technique():
                return code
        return 0


def check(engine_object):
    """Replays one puzzle's steps; returns a list of differences."""
    puzzle = engine_object["puzzle"]
    grid = Grid([0 if c in ".0" else int(c) for c in puzzle])
    if not grid.loaded:
        return [] if engine_object["code"] == 0 and "error" in engine_object else ["should be a conflict"]
    problems = []
    for number, step in enumerate(engine_object["steps"], 1):
        code = grid.step()
        if code != step["code"]:
            problems.append("step %d: the engine took code %d, the transcription %d" % (number, step["code"], code))
            break
        if grid.placements != step["placed"] or sorted(grid.removals) != sorted(step["removed"]):
            problems.append("step %d (code %d): effects differ: engine %s %s, transcription %s %s" % (
                number, code, step["placed"], step["removed"], grid.placements, grid.removals))
            break
    else:
        if any(grid.placed[x] == 0 for x in range(81)) and grid.step() != 0:
            problems.append("the engine stopped where the transcription goes on")
    return problems


def main():
    if len(sys.argv) < 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    text = "".join(open(path).read() for path in sys.argv[2:]) if len(sys.argv) > 2 else sys.stdin.read()
    result = subprocess.run([sys.argv[1], "rate", "--json"], input=text, capture_output=True, text=True)
    failures = steps = puzzles = 0
    for line in result.stdout.splitlines():
        engine_object = json.loads(line)
        puzzles += 1
        steps += len(engine_object["steps"])
        for problem in check(engine_object):
            failures += 1
            print("%s: %s" % (engine_object["puzzle"], problem))
    print("%d puzzles, %d steps compared with the transcription: %d passed, %d failed" % (
        puzzles, steps, puzzles - failures, failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
