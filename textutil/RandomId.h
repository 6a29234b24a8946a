#pragma once
// Random identifier texts and the small random numbers the text functions hand out.

#include "strings/c_String.h"

// 16 groups of four lower-case hex digits, in blocks of 4, 2, 2, 2 and 6 joined by '-' (68
// characters); the 7th group starts with 4 and the 9th with 8, 9, a or b.
c_String MakeRandomIdText();
int GetRandomByteValue();
// 1 to n.
int GetRandomInt(int n);
