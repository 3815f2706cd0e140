// Vakido: takes no arguments, saves nothing, ends with exit code 0.
#include "ui/game.h"

int main() { return RunGame(); }
