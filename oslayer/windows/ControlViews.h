#pragma once
// Views of controls through their CWnd: tab pages arranged on their tab control, and list-view items
// brought into view. A null control stands for no window.

#include <afxwin.h>

// Places every page on the tab control's display area (the client rectangle through TCM_ADJUSTRECT),
// shows the selected one and hides the others, and selects its tab; the TCM_SETCURSEL result. With
// fitWidth the tab control and the owner first grow (or shrink) by what the widest page lacks of the
// tab control's client width.
LRESULT ArrangeTabPages(CWnd* owner, CWnd* const* pages, int count, CWnd* tab, int selected, bool fitWidth);
// Brings the last item into view, then this one, which so ends near the top; the second answer.
bool EnsureListViewItemVisible(CWnd* list, int index);
