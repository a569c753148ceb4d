// Redirects one import of a loaded module, so that a test can pause the module inside a system
// call at a moment of its choosing (a race made certain instead of waited for).
#pragma once

#include <windows.h>

// Replaces `module`'s import of `function` from `dll` (case-insensitive) with `replacement`.
// Returns the address it imported before, or null when it imports no such function.
void* ReplaceImport(HMODULE module, const char* dll, const char* function, void* replacement);
