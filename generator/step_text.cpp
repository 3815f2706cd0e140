#include "generator/step_text.h"

#include <vector>

namespace {

// "a", "a and b", "a, b and c".
std::string Listed(const std::vector<std::string>& items)
{
    std::string text;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) text += i + 1 == items.size() ? " and " : ", ";
        text += items[i];
    }
    return text;
}

std::vector<std::string> DigitsOf(CandidateMask mask)
{
    std::vector<std::string> digits;
    for (int d = 1; d <= 9; ++d)
        if (mask & (1 << d)) digits.push_back(std::to_string(d));
    return digits;
}

std::string Cells(const std::vector<CellIndex>& cells)
{
    std::vector<std::string> names;
    for (CellIndex cell : cells) names.push_back(CellName(cell));
    return Listed(names);
}

// "rows 2 and 7", from units of one kind.
std::string Lines(std::vector<Unit>::const_iterator first, std::vector<Unit>::const_iterator last)
{
    std::vector<std::string> numbers;
    for (auto it = first; it != last; ++it) numbers.push_back(std::to_string(*it % 9 + 1));
    const char* kind = *first < 9 ? "row" : "column";
    return std::string(kind) + (numbers.size() > 1 ? "s " : " ") + Listed(numbers);
}

// "r1c1 (12)": a cell with its candidates.
std::string WithCandidates(CellIndex cell, CandidateMask candidates)
{
    std::string digits;
    for (const std::string& d : DigitsOf(candidates)) digits += d;
    return CellName(cell) + " (" + digits + ")";
}

}  // namespace

std::string CellName(CellIndex cell)
{
    return {'r', static_cast<char>('1' + cell / 9), 'c', static_cast<char>('1' + cell % 9)};
}

std::string UnitName(Unit unit)
{
    static const char* kinds[] = {"row ", "column ", "box "};
    return kinds[unit / 9] + std::to_string(unit % 9 + 1);
}

std::string PatternText(const StepRecord& step)
{
    const std::string digits = Listed(DigitsOf(step.digits));
    switch (step.technique) {
    case 1:
        return Cells(step.cells) + (step.cells.size() == 1 ? " has" : " each have") + " one candidate left";
    case 2:
        return digits + " can go only in " + CellName(step.cells[0]) + " within " + UnitName(step.units[0]);
    case 3: {
        if (step.boxLine) return digits + " in " + UnitName(step.units[0]) + " lies only in " + UnitName(step.units[1]);
        std::vector<std::string> lines;
        for (size_t i = 1; i < step.units.size(); ++i) lines.push_back(UnitName(step.units[i]));
        return digits + " in " + UnitName(step.units[0]) + " lies only in " + Listed(lines);
    }
    case 4:
    case 6:
        return Cells(step.cells) + " hold only " + digits + " within " + UnitName(step.units[0]);
    case 5:
    case 7:
        return digits + " go only in " + Cells(step.cells) + " within " + UnitName(step.units[0]);
    case 8:
    case 9: {
        const auto cover = step.units.begin() + step.baseLines;
        return digits + " in " + Lines(step.units.begin(), cover) + " lies only in " + Lines(cover, step.units.end());
    }
    case 10:
    case 11: {
        const std::string seers = step.technique == 10 ? "both pincers" : "the pivot and both pincers";
        return "pivot " + WithCandidates(step.cells[0], step.cellCandidates[0]) + " with pincers " +
               WithCandidates(step.cells[1], step.cellCandidates[1]) + " and " +
               WithCandidates(step.cells[2], step.cellCandidates[2]) + ": " + digits + " leaves every cell that sees " +
               seers;
    }
    default:
        return "";
    }
}

std::string PlacementText(const Placement& placement) { return CellName(placement.cell) + "=" + std::to_string(placement.digit); }

std::string RemovalText(const Removal& removal) { return CellName(removal.cell) + "<>" + std::to_string(removal.digit); }

std::string EffectsText(const StepRecord& step)
{
    std::string text;
    auto add = [&](const std::string& effect) {
        if (!text.empty()) text += ' ';
        text += effect;
    };
    for (const Placement& placement : step.placements) add(PlacementText(placement));
    for (const Removal& removal : step.removals) add(RemovalText(removal));
    return text;
}

std::string StepText(const StepRecord& step)
{
    return std::string(TechniqueName(step.technique)) + ": " + PatternText(step) + " => " + EffectsText(step);
}
