// The fallback directory compiled into a program: where the installed puzzle files lie for
// the game and the tool, a folder of the build tree for the tests, so that what is installed
// on the machine never changes what a test sees.
#include "puzzles/puzzle_lookup.h"

#ifndef VAKIDO_FALLBACK_DIR
#error "VAKIDO_FALLBACK_DIR must name the fallback directory, ending with '/'"
#endif

const std::string FallbackPuzzleDirectory = VAKIDO_FALLBACK_DIR;
