#pragma once

#include <QByteArray>
#include <QFileDevice>

// Writes every byte or fails with the device's error set. The device must be open Unbuffered: a
// buffered write counts bytes as written that a full disk never took, and QSaveFile then commits a
// file cut short in place of the old one.
bool WriteWhole(QFileDevice& file, const QByteArray& bytes);
