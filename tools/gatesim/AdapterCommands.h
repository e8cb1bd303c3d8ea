#pragma once

#include <QString>

// The simulator's one-shot commands, used by scripts/run.sh.

// Prints every device of the FTDI device list (USB adapters, then virtual ones); returns 0.
int ListAdapters();
// 0 when a USB adapter whose description names the product is attached, 1 otherwise.
int RealAdapterAttached();
// Writes the demo gate sequence into an empty runs folder; returns 0 unless writing failed.
int WriteDemoSequence(const QString& runsFolder);
