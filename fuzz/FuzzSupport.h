#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

namespace fuzz {

// Drops Qt's debug and warning lines: the code under test traces every sentence and file, which
// would bury the fuzzer's own report and slow it down.
void silenceQtMessages();

// Writes the bytes to a file of that name in a scratch folder kept for the whole run; the path.
QString writeScratchFile(const char* name, const std::uint8_t* data, std::size_t size);
QString scratchPath(const char* name);

// Reports a broken property and stops, so libFuzzer saves the input.
[[noreturn]] void fail(const char* what);

} // namespace fuzz
