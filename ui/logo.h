// The About dialog's logo: a 256 x 256 RGB PNG built into the program.
#pragma once

extern const unsigned char logoStart[];
extern const unsigned char* const logoEnd;
