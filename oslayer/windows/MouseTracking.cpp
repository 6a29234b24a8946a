// TrackMouseLeave over TrackMouseEvent.

#include "oslayer/windows/MouseTracking.h"

bool TrackMouseLeave(HWND window) {
    TRACKMOUSEEVENT track = {sizeof(TRACKMOUSEEVENT), TME_QUERY, window, HOVER_DEFAULT};
    if (TrackMouseEvent(&track) == FALSE) {
        return false;
    }
    if ((track.dwFlags & TME_LEAVE) != 0) {
        return true;
    }
    track = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, window, HOVER_DEFAULT};
    return TrackMouseEvent(&track) != FALSE;
}
