// How the bare peer paints its target: an owner-drawn button whose face is
// the 100 x 100 picture scaled by the platform (StretchBlt, HALFTONE), inside
// the unthemed face's inset of 2 that the game draws too. Shared by the peer
// program and the jump benchmark, so both peers do the same visible work.
#pragma once

#include <windows.h>

inline void peer_target_draw(const DRAWITEMSTRUCT& item, HDC picture)
{
    const int border = 2;
    RECT face = item.rcItem;
    bool pressed = (item.itemState & ODS_SELECTED) != 0;
    DrawFrameControl(item.hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    int offset = pressed ? 1 : 0;
    IntersectClipRect(item.hDC, border, border, face.right - border, face.bottom - border);
    SetStretchBltMode(item.hDC, HALFTONE);
    SetBrushOrgEx(item.hDC, 0, 0, nullptr);
    StretchBlt(item.hDC, offset, offset, face.right, face.bottom, picture, 0, 0, 100, 100, SRCCOPY);
}
