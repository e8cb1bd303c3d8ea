#pragma once

#include <termios.h>

// Single key presses from the terminal the simulator runs in: no echo, no waiting for Enter.
// Does nothing when standard input is not a terminal.
class Keyboard
{
public:
    Keyboard();
    ~Keyboard();
    Keyboard(const Keyboard&) = delete;
    Keyboard& operator=(const Keyboard&) = delete;

    bool IsActive() const { return active; }
    int Fd() const;
    // The next typed character, or -1 when none is waiting.
    int ReadKey();

private:
    bool active = false;
    termios saved = {};
};
