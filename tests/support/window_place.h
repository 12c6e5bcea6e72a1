// Where a window stands inside its parent's client area, as the tests that
// look at windows from outside read it.
#pragma once

#include <windows.h>

inline RECT place_in_parent(HWND window) {
  RECT place;
  GetWindowRect(window, &place);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&place), 2);
  return place;
}
