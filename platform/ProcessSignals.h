#pragma once

namespace platform {

// Called first in every program's main. With a file-size limit on the process (as some sites set
// for their users), a write past it would otherwise kill the program with SIGXFSZ, the run in
// progress with it; ignored, the write fails with EFBIG and takes the full-disk paths.
void ignoreFileSizeSignal();

} // namespace platform
