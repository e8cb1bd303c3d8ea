#pragma once

#include <QString>

// The file name of report file `number` of a base name made from a sequence name, which may hold
// any character: "/", NUL and control characters become "_", and the base name is cut (at a whole
// character) so that the file name stays within the 255 bytes a file system allows.
QString ReportFileNameFor(const QString& baseName, int number);
