#pragma once

#include <QString>

// Why a name the operator typed cannot become one file's name inside one of the system's folders
// (a gate sequence, an exported list); empty when it can. Every other character is allowed and the
// name is not trimmed: it is stored as typed.
QString fileNameProblem(const QString& name);
