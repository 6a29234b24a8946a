#pragma once
// The MFC calls that the program makes, as far as they are provided so far.

#include <windows.h>

#define AFXAPI

// A class of the executable's module with DefWindowProcW as its procedure, named after the four
// values ("Afx:" and them in hexadecimal); the same four values give the same class. The name lives
// as long as the process. Null, with the last error of RegisterClassExW, when registering fails;
// there are no exceptions.
LPCWSTR AFXAPI AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                                   HICON icon = nullptr);
