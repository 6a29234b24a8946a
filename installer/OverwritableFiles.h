#pragma once
// IsOverwritableFile: whether an existing file of that name may be replaced by a downloaded one.
//
// The user's own settings and data (charts, study collections, daily data, configuration) are never
// replaced once they exist; "Clean Chart.StdyCollct" is the shipped blank collection and is.

#include "strings/c_String.h"

// Compared without case: the names "Dovrik4.config" and "Clean Chart.StdyCollct" against the last
// component of name (after its last '\', '/' or ':'), the protected extensions against its end.
bool IsOverwritableFile(const c_String& name);
