// A plain, line-by-line transcription of the techniques' search orders, kept as the
// reference that the engine's faster techniques must match step for step.
#pragma once

int ReferenceNakedSingles();
int ReferenceHiddenSingle();
int ReferencePointingBoxLine();
int ReferenceNakedSubset(int n);
int ReferenceHiddenSubset(int n);
int ReferenceFish(int n);
int ReferenceXYWing();
int ReferenceXYZWing();
int ReferenceTechniqueStep(int maxLevel);
