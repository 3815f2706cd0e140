#include "generator/puzzle_maker.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <thread>
#include <unordered_set>

#include "generator/solution_counter.h"
#include "generator/unavoidable_sets.h"
#include "grading/grid_geometry.h"
#include "grading/ladder.h"
#include "grading/technique_codes.h"

// How many given exchanges a too easy Medium puzzle may make on its way to its band
// (measured with `bench`: 20 finds Medium about 8 % faster than 8 did).
constexpr int exchangeMoves = 20;
// How many givens a removal that goes past the wanted band tries trading back elsewhere
// (measured with `bench`: more tries find a little more, at a higher cost per attempt), and
// how many removals a puzzle that enters the range already past its band tries that with.
constexpr int overshootTries = 10;
constexpr int entryTrades = 2;

GivenRange DefaultGivenRange(int level)
{
    switch (level) {
    case 1: return {36, 42};
    case 2: return {30, 35};
    case 3: return {22, 28};
    default: return {22, 28};
    }
}

uint64_t AttemptSeed(uint64_t seed, int level, uint64_t attempt)
{
    // splitmix64 finaliser over the three numbers: nearby attempts get unrelated seeds.
    uint64_t z = seed ^ (static_cast<uint64_t>(level) << 56) ^ (attempt * 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// True when the givens that the cell sees hold every digit but its own: then no solution
// can put another digit there, and taking the given away keeps the puzzle unique without
// asking the solver. Early in a dig, with sixty givens and more, most removals are such.
static bool SeesEveryOtherDigit(const uint8_t* puzzle, int cell, int digit)
{
    unsigned seen = 0;
    for (uint8_t peer : gridGeometry.peers[cell]) seen |= 1u << puzzle[peer];
    return (seen | 1u << digit | 1u) == 0x3FF;
}

// The level band of a rating; 0 when the ladder cannot finish the puzzle.
static int BandOf(TechniqueCode hardest) { return hardest == 0 ? 0 : TechniqueLevel(hardest); }

// Rates the puzzle with the techniques up to the wanted level only. A rating that
// finishes is the full ladder's, since the ladder tries the easier techniques first; 0
// means the puzzle needs a harder one, or more than the ladder has: either way it is not
// one of the wanted level, and the harder techniques' searches are saved.
static TechniqueCode RateUpTo(const uint8_t* puzzle, int wanted) { return RatePuzzle(puzzle, wanted).hardest; }

// The same for the grid loaded in candidateGrid already.
static TechniqueCode RateLoadedUpTo(int wanted) { return RateLoadedGrid(wanted).hardest; }

// Cells of the puzzle that are empty (given == false) or given (true), in random order; with
// the half-turn symmetry only one cell of each pair.
static int ShuffledCells(const uint8_t* puzzle, bool given, Symmetry symmetry, int cells[81])
{
    int n = 0;
    for (int cell = 0; cell < 81; ++cell)
        if ((puzzle[cell] != 0) == given && (symmetry == Symmetry::None || cell <= 80 - cell)) cells[n++] = cell;
    for (int i = n - 1; i > 0; --i) std::swap(cells[i], cells[UniformRandom(i)]);
    return n;
}

// Sets the cell (and with the half-turn symmetry its twin) to `source`'s digits: the
// solution's to give a given back, zeros to take it away. Returns how many cells changed.
static int SetPair(uint8_t* puzzle, const uint8_t* source, int cell, Symmetry symmetry)
{
    puzzle[cell] = source[cell];
    if (symmetry == Symmetry::None || cell == 40) return 1;
    puzzle[80 - cell] = source[80 - cell];
    return 2;
}

static int PairSize(int cell, Symmetry symmetry) { return symmetry == Symmetry::None || cell == 40 ? 1 : 2; }

// Loads the grid saved in `loaded` less the cell's given (and its twin's).
static void LoadWithout(const CandidateGrid& loaded, int cell, Symmetry symmetry)
{
    ReloadGridWithout(loaded, cell);
    if (PairSize(cell, symmetry) == 2) ReloadGridWithout(candidateGrid, 80 - cell);
}

namespace {

// A puzzle being dug out of its solution: its givens, and the givens found to be needed.
// A given whose removal leaves a second solution is needed for good, since taking more
// givens away only lets in more solutions; digging never asks about it again.
class Dig {
public:
    Dig(PuzzleRecord& record, Symmetry symmetry)
        : puzzle_(record.givens), solution_(record.solution), symmetry_(symmetry)
    {
        std::memcpy(puzzle_, solution_, 81);
    }

    int Count() const { return count_; }
    bool Needed(int cell) const { return needed_[cell]; }

    // Takes the given at `cell` (with its twin under the half turn) away when the puzzle
    // stays unique; otherwise marks it needed and changes nothing. After the solver's first
    // refusal, the small unavoidable sets answer many of the refusals before it is asked.
    bool TryRemove(int cell)
    {
        if (puzzle_[cell] == 0 || needed_[cell]) return false;
        const int twin = PairSize(cell, symmetry_) == 2 ? 80 - cell : cell;
        const CellSet removed = PairCells(cell);
        if (sets_ && sets_->LeavesUncovered(givenCells_, removed)) {
            needed_[cell] = true;
            return false;
        }
        const int digit = puzzle_[cell];
        puzzle_[cell] = puzzle_[twin] = 0;
        const bool unique = twin == cell
                                ? SeesEveryOtherDigit(puzzle_, cell, digit) || !HasSolutionWithout(puzzle_, cell, digit)
                                : CountSolutions(puzzle_, 2) == 1;
        if (!unique) {
            SetPair(puzzle_, solution_, cell, symmetry_);
            needed_[cell] = true;
            // Finding the sets costs a few solver calls; a shallow dig never needs them.
            if (!sets_) sets_.emplace(solution_);
            return false;
        }
        givenCells_ &= ~removed;
        count_ -= PairSize(cell, symmetry_);
        return true;
    }

    // Gives back what TryRemove took at `cell`.
    void Restore(int cell)
    {
        count_ += SetPair(puzzle_, solution_, cell, symmetry_);
        givenCells_ |= PairCells(cell);
    }

    // Takes away a given that TryRemove has already shown can go.
    void Remove(int cell)
    {
        count_ -= SetPair(puzzle_, zeros_, cell, symmetry_);
        givenCells_ &= ~PairCells(cell);
    }

private:
    // The cell, and its twin under the half turn.
    CellSet PairCells(int cell) const
    {
        return CellSet{1} << cell | CellSet{1} << (PairSize(cell, symmetry_) == 2 ? 80 - cell : cell);
    }

    static constexpr uint8_t zeros_[81] = {};
    uint8_t* puzzle_;
    const uint8_t* solution_;
    Symmetry symmetry_;
    std::optional<UnavoidableSets> sets_;
    CellSet givenCells_ = (CellSet{1} << 81) - 1;
    bool needed_[81] = {};
    int count_ = 81;
};

}  // namespace

// A puzzle easier than wanted, with no given left to take away, changes one given for
// another: a given comes back somewhere, and another one that it has made unneeded goes.
// The count stays, the puzzle stays unique, and the rating moves. Up to `moves` changes,
// stopping at the first that reaches the wanted band or passes it.
static TechniqueCode ExchangeGivens(PuzzleRecord& record, TechniqueCode hardest, int moves, Symmetry symmetry, int wanted)
{
    uint8_t* puzzle = record.givens;
    const uint8_t zeros[81] = {};
    for (int move = 0; move < moves; ++move) {
        int empty[81], given[81];
        const int emptyCount = ShuffledCells(puzzle, false, symmetry, empty);
        if (emptyCount == 0) break;
        const int added = empty[0];
        SetPair(puzzle, record.solution, added, symmetry);
        const int givenCount = ShuffledCells(puzzle, true, symmetry, given);
        bool exchanged = false;
        for (int i = 0; i < givenCount && !exchanged; ++i) {
            const int cell = given[i];
            if (cell == added || (symmetry == Symmetry::Rotate180 && cell == 80 - added)) continue;
            const int digit = puzzle[cell];
            const int pair = SetPair(puzzle, zeros, cell, symmetry);
            const bool unique = pair == 1 ? !HasSolutionWithout(puzzle, cell, digit) : CountSolutions(puzzle, 2) == 1;
            if (unique) exchanged = true;
            else SetPair(puzzle, record.solution, cell, symmetry);
        }
        if (!exchanged) {
            SetPair(puzzle, zeros, added, symmetry);
            continue;
        }
        hardest = RatePuzzle(puzzle).hardest;
        if (hardest == 0 || BandOf(hardest) >= wanted) break;
    }
    return hardest;
}

// The given at `cell` has just gone and left the puzzle past the wanted band. A few other
// givens of the solution, in random order, are tried back one at a time instead, so the
// count stays as it was. Only cells that the ladder had not solved where it stopped on the
// puzzle (`stopped`: its placed digits there, which may be candidateGrid.placed itself)
// are worth a try: giving back a digit that the techniques found anyway leads them to the
// same place again. A given added to a unique puzzle keeps it unique: no solver is
// needed. `before` is the loaded grid of the puzzle before the removal: each try is rated
// from it, one given taken and one placed, rather than loaded afresh. Returns the rating of
// the first that lands in the band, or 0 with only the removal made.
static TechniqueCode TradeBack(PuzzleRecord& record, const Dig& dig, int cell, GivenRange givens, Symmetry symmetry,
                               int wanted, const uint8_t stopped[81], const CandidateGrid& before)
{
    uint8_t solvedWhereStopped[81];  // the ratings below overwrite candidateGrid
    std::memcpy(solvedWhereStopped, stopped, 81);
    LoadWithout(before, cell, symmetry);
    const CandidateGrid removed = candidateGrid;
    int empty[81];
    const int n = ShuffledCells(record.givens, false, symmetry, empty);
    const uint8_t zeros[81] = {};
    for (int i = 0, tried = 0; i < n && tried < overshootTries; ++i) {
        const int back = empty[i];
        if (back == cell || dig.Count() + PairSize(back, symmetry) > givens.max) continue;
        if (solvedWhereStopped[back] && solvedWhereStopped[PairSize(back, symmetry) == 2 ? 80 - back : back]) continue;
        ++tried;
        SetPair(record.givens, record.solution, back, symmetry);
        ReloadGrid(removed);
        PlaceDigit(back, record.solution[back]);
        if (PairSize(back, symmetry) == 2) PlaceDigit(80 - back, record.solution[80 - back]);
        if (const TechniqueCode hardest = RateLoadedUpTo(wanted); BandOf(hardest) == wanted) return hardest;
        SetPair(record.givens, zeros, back, symmetry);
    }
    return 0;
}

// Digs a puzzle of the range further down towards the wanted band, one given at a time,
// rating each step.
//  - Either way, a removal that reaches the wanted band ends the search, and one that goes
//    past it first tries to trade a given back elsewhere (TradeBack).
//  - Without looking around, the first given that can go goes, until the rating reaches
//    the wanted band or passes it.
//  - Looking around, each round looks at every given that can go, and the removal with the
//    hardest rating below the band (the first of equals) is made; the next round starts
//    there. That finds the rare bands several times as often as the first removal would,
//    at a cost that pays for itself there (measured with `bench`). A puzzle that enters
//    the range already past the band tries a few trades only.
// `hardest` is the rating of record.givens just made, so that candidateGrid still shows
// where the ladder stopped. Returns the rating of the puzzle that the search ends with, in record.givens. After a
// trade the dig has not seen the given traded back, so the caller counts the givens afresh.
static TechniqueCode DigTowards(Dig& dig, PuzzleRecord& record, const int order[81], TechniqueCode hardest,
                                GivenRange givens, Symmetry symmetry, int wanted, bool lookAround)
{
    // The next given in dig order that can go without leaving the range, taken away; -1 when none.
    auto removeNext = [&](int& i) {
        for (; i < 81; ++i) {
            const int cell = order[i];
            if (record.givens[cell] == 0 || dig.Needed(cell)) continue;
            if (dig.Count() - PairSize(cell, symmetry) >= givens.min && dig.TryRemove(cell)) return order[i++];
        }
        return -1;
    };
    if (lookAround && hardest == 0) {
        // Past the band already on entering the range: a few removals trade a given back.
        // Where the ladder stopped on this puzzle stands in for where it would stop after
        // each removal, which saves rating those.
        uint8_t stopped[81];
        std::memcpy(stopped, candidateGrid.placed, 81);
        LoadGrid(record.givens);
        const CandidateGrid entry = candidateGrid;
        int tried = 0;
        for (int i = 0, cell; tried < entryTrades && (cell = removeNext(i)) >= 0; ++tried) {
            if (const TechniqueCode traded = TradeBack(record, dig, cell, givens, symmetry, wanted, stopped, entry))
                return traded;
            dig.Restore(cell);
        }
        return 0;
    }
    while (BandOf(hardest) >= 1 && BandOf(hardest) < wanted) {
        int step = -1;
        TechniqueCode stepRating = 0;
        // Every puzzle of the round is this one less a given: loaded once, each is derived.
        LoadGrid(record.givens);
        const CandidateGrid round = candidateGrid;
        for (int i = 0, cell; (cell = removeNext(i)) >= 0;) {
            LoadWithout(round, cell, symmetry);
            const TechniqueCode rating = RateLoadedUpTo(wanted);
            if (BandOf(rating) == wanted) return rating;
            if (BandOf(rating) == 0) {
                if (const TechniqueCode traded =
                        TradeBack(record, dig, cell, givens, symmetry, wanted, candidateGrid.placed, round))
                    return traded;
            }
            if (!lookAround) {
                dig.Restore(cell);
                step = cell;
                stepRating = rating;
                break;
            }
            if (BandOf(rating) != 0 && (step < 0 || rating > stepRating)) {
                step = cell;
                stepRating = rating;
            }
            dig.Restore(cell);
        }
        if (step < 0) break;
        dig.Remove(step);
        hardest = stepRating;
    }
    return hardest;
}

Attempt MakePuzzle(uint64_t attemptSeed, GivenRange givens, Symmetry symmetry, int wantedLevel)
{
    Attempt attempt;
    PuzzleRecord& record = attempt.record;
    SeedGradingRandom(attemptSeed);
    ClearUsedDigitMasks();
    FillRandomGrid(record.solution, 0);

    int order[81];
    for (int i = 0; i < 81; ++i) order[i] = i;
    for (int i = 80; i > 0; --i) std::swap(order[i], order[UniformRandom(i)]);
    // Blind digging aims at a random count of the range; digging for a level goes down to
    // the top of the range, then on towards the wanted band.
    const int drawn = givens.min + static_cast<int>(UniformRandom(givens.max - givens.min));
    const int target = wantedLevel >= 2 ? givens.max : drawn;

    Dig dig(record, symmetry);
    for (int i = 0; i < 81 && dig.Count() > target; ++i) dig.TryRemove(order[i]);
    int count = dig.Count();
    if (count > givens.max || count < givens.min) return attempt;
    attempt.unique = true;
    TechniqueCode hardest = 0;
    if (wantedLevel >= 2) {
        hardest = DigTowards(dig, record, order, RateUpTo(record.givens, wantedLevel), givens, symmetry, wantedLevel,
                             wantedLevel >= 3);
        count = static_cast<int>(std::count_if(record.givens, record.givens + 81, [](uint8_t d) { return d != 0; }));
    } else {
        hardest = RatePuzzle(record.givens).hardest;
    }
    // A Medium puzzle still too easy at the end exchanges givens; for the hard levels that
    // costs more time than it finds puzzles (measured with `bench`).
    if (wantedLevel == 2 && hardest != 0 && BandOf(hardest) < wantedLevel)
        hardest = ExchangeGivens(record, hardest, exchangeMoves, symmetry, wantedLevel);
    record.hardestTechnique = static_cast<uint8_t>(hardest);
    record.givenCount = static_cast<uint8_t>(count);
    return attempt;
}

std::vector<PuzzleRecord> MakeLevel(uint64_t seed, const LevelRequest& request, Symmetry symmetry, int jobs,
                                    const std::atomic<bool>& stop, const ProgressReport& report)
{
    // Attempts run in numbered batches; the kept puzzles are the first `count` distinct
    // ones in attempt order, whichever thread made them, so the batch sizes change how much
    // work is done, never the result. After the first batch each one is sized to what the
    // level's yield so far says is still needed, with a margin: a batch much larger than
    // that would be mostly thrown away.
    constexpr uint64_t firstBatch = 256, largestBatch = 4096, batchStep = 64;
    std::vector<PuzzleRecord> kept;
    std::unordered_set<std::string> seen;
    std::vector<Attempt> batch;
    jobs = std::max(1, jobs);
    uint64_t made = 0, useful = 0;  // attempts so far, and those that gave a puzzle of the level

    for (uint64_t size = firstBatch; static_cast<int>(kept.size()) < request.count && !stop; made += size) {
        if (made > 0) {
            const uint64_t missing = static_cast<uint64_t>(request.count) - kept.size();
            const uint64_t expected = missing * made / std::max<uint64_t>(useful, 1) * 9 / 8;
            size = std::clamp((expected + batchStep - 1) / batchStep * batchStep, batchStep, largestBatch);
        }
        batch.resize(size);
        std::atomic<uint64_t> next{0};
        auto work = [&] {
            for (uint64_t i; (i = next.fetch_add(1)) < size && !stop;)
                batch[i] = MakePuzzle(AttemptSeed(seed, request.level, made + i), request.givens, symmetry,
                                      request.targeted ? request.level : 0);
        };
        std::vector<std::thread> threads;
        for (int t = 1; t < jobs; ++t) threads.emplace_back(work);
        work();
        for (std::thread& thread : threads) thread.join();
        if (stop) break;

        for (uint64_t i = 0; i < size && static_cast<int>(kept.size()) < request.count; ++i) {
            const PuzzleRecord& record = batch[i].record;
            if (!batch[i].unique || record.hardestTechnique == 0 ||
                TechniqueLevel(record.hardestTechnique) != request.level)
                continue;
            ++useful;
            if (!seen.emplace(reinterpret_cast<const char*>(record.givens), 81).second) continue;
            kept.push_back(record);
        }
        if (report) report(static_cast<int>(kept.size()), made + size);
    }
    return kept;
}
