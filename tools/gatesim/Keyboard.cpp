#include "tools/gatesim/Keyboard.h"

#include <unistd.h>

Keyboard::Keyboard()
{
    // A background job must leave the terminal alone (changing its modes would stop the job).
    if (::isatty(STDIN_FILENO) != 1 || ::tcgetpgrp(STDIN_FILENO) != ::getpgrp())
        return;
    if (::tcgetattr(STDIN_FILENO, &saved) != 0)
        return;
    termios cbreak = saved;
    cbreak.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
    cbreak.c_cc[VMIN] = 0;
    cbreak.c_cc[VTIME] = 0;
    active = ::tcsetattr(STDIN_FILENO, TCSANOW, &cbreak) == 0;
}

Keyboard::~Keyboard()
{
    if (active)
        ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

int Keyboard::Fd() const
{
    return STDIN_FILENO;
}

int Keyboard::ReadKey()
{
    if (!active)
        return -1;
    unsigned char key = 0;
    return ::read(STDIN_FILENO, &key, 1) == 1 ? key : -1;
}
