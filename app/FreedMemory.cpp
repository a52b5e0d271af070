#include "FreedMemory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace Velmora {

void keepFreedMemoryForReuse() {
#if defined(__GLIBC__)
  // Blocks up to 32 MiB (glibc's largest threshold) from the heap, and the
  // heap's free top kept up to 512 MiB: the window's runs stay far below.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 512 << 20);
#endif
}

}  // namespace Velmora
