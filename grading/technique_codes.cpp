#include "grading/technique_codes.h"

static constexpr std::string_view techniqueNames[12] = {
    "-",         "Naked single",  "Hidden single", "Pointing / box-line", "Naked pair", "Hidden pair",
    "Naked triple", "Hidden triple", "X-Wing",     "Swordfish",           "XY-Wing",    "XYZ-Wing",
};

std::string_view TechniqueName(TechniqueCode code)
{
    return code >= 1 && code <= 11 ? techniqueNames[code] : "-";
}

int TechniqueLevel(TechniqueCode code)
{
    if (code >= 3 && code <= 5) return 2;
    if (code >= 6 && code <= 9) return 3;
    if (code == 10 || code == 11) return 4;
    return 1;
}
