// TechniqueCode: 1..11 numbers the solving techniques from the simplest to the hardest;
// puzzle files store the code of the hardest technique a puzzle needs. 0 means that no
// technique made progress.
#pragma once

#include <string_view>

using TechniqueCode = int;

// The display name of a code; "-" for any code outside 1..11.
std::string_view TechniqueName(TechniqueCode code);

// The level band 1..4 of a code; 1 for any code outside 1..11.
int TechniqueLevel(TechniqueCode code);
