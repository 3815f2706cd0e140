// Vakido: takes no arguments, saves nothing, ends with exit code 0.
#include "ui/game.h"

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer build's leak check looks at our code only. libdbus, which Qt opens on a
// desktop session, keeps a connection buffer for the life of the process on purpose.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
#endif

int main() { return RunGame(); }
