#pragma once

// The editor's key code (IKeyCode) for an X key symbol: space, the four
// arrows, the digits 0-9 (main and keypad) and the letters A-Z in either
// case; -1 for every other key, which then belongs to the host.
int TranslateX11Key(unsigned long keysym);
