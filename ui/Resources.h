#pragma once

// Registers the compiled-in images. The resource file lives in a static library, whose
// registration object the linker would otherwise drop; safe to call more than once.
void EnsureResources();
