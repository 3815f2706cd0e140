// The eleven solving techniques. Each works on the thread's candidateGrid, changes it only
// through PlaceDigit and RemoveCandidates, applies at most one pattern (naked singles: one
// pass), and returns 1 exactly when it changed the grid. The order in which each one
// searches decides which pattern a step applies, and with it the whole path of a rating.
#pragma once

int ApplyNakedSingles();        // code 1
int ApplyHiddenSingle();        // code 2
int ApplyPointingBoxLine();     // code 3
int ApplyNakedSubset(int size);   // codes 4 (pair) and 6 (triple)
int ApplyHiddenSubset(int size);  // codes 5 (pair) and 7 (triple)
int ApplyFish(int size);        // codes 8 (X-Wing) and 9 (Swordfish)
int ApplyXYWing();              // code 10
int ApplyXYZWing();             // code 11
