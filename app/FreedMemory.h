// A Search press of 100000 steps allocates and frees some 10 MB: the run's
// trials, the chart's points. The C library hands blocks that large back to
// the system at once, and the next press then pays a page fault on every one
// of their pages again, a third of the press in a virtual machine. The
// window's process keeps freed memory for its next press instead.
#pragma once

namespace Velmora {

// For the whole process; called once, before the window is made.
void keepFreedMemoryForReuse();

}  // namespace Velmora
