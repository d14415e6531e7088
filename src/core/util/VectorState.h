#pragma once

namespace ivra {

// Clears the upper halves of the wide vector registers (vzeroupper) on x86
// processors that have them; does nothing elsewhere. Code run earlier in the
// process (the toolkit's image routines) may leave them dirty, and until they are
// cleared every scalar floating-point library call (log, sqrt) pays a transition
// penalty: the noise generators ran about eight times slower after a picture had
// been loaded. Results are not affected.
void clearUpperVectorState();

} // namespace ivra
