#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pelmorix::e2e {

// The visible top-level windows of a process, as a person sees them on the desktop.
std::vector<::HWND> VisibleWindowsOf(::DWORD process);
// Waits for a visible top-level window of the process with the caption; nullptr when none came.
::HWND WaitForWindowOf(::DWORD process, const std::string& caption, double seconds);
// Waits for a visible message box (class "#32770") of the process; nullptr when none came.
::HWND WaitForMessageBoxOf(::DWORD process, double seconds = 30);

std::string Caption(::HWND window);
// The texts of the window's children, one after the other (a message box's text among them).
std::string ChildTexts(::HWND window);
SIZE ClientSize(::HWND window);
// The colour (0x00BBGGRR) shown on the screen at a point of the window's client area.
uint32_t ShownPixel(::HWND window, int x, int y);

// A real mouse click at a point of the window's client area.
void ClickAt(::HWND window, int x, int y);
// Brings the window to the front and presses Enter, as a person answers a box with its default
// button; throws when the window does not come to the front.
void PressEnterIn(::HWND window);

}  // namespace pelmorix::e2e
