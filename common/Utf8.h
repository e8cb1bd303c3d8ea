#pragma once

#include <QByteArray>

// True when the bytes are valid UTF-8 throughout (an empty text is).
bool IsUtf8(const QByteArray& bytes);
