// A ladder step in words, as a player would read it.
#pragma once

#include <string>

#include "grading/step_record.h"

// "r4c7": rows and columns counted 1..9.
std::string CellName(CellIndex cell);

// "row 2", "column 3", "box 6", counted 1..9.
std::string UnitName(Unit unit);

// The pattern: "5 can go only in r4c7 within box 6".
std::string PatternText(const StepRecord& step);

// The effects, space-separated: "r4c7=5" for a placement, "r1c3<>5" for a removal.
std::string PlacementText(const Placement& placement);
std::string RemovalText(const Removal& removal);
std::string EffectsText(const StepRecord& step);

// "Hidden single: 5 can go only in r4c7 within box 6 => r4c7=5".
std::string StepText(const StepRecord& step);
