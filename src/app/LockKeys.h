// The state of the Caps Lock, Num Lock and Scroll Lock keys, for the status bar indicators.
#pragma once

#include <optional>

struct LockKeyState {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

// Asks the window system for the keyboard's lock indicators. Nothing when it cannot tell
// (a platform other than X11, or an X server without the keyboard extension).
std::optional<LockKeyState> QueryLockKeys();
