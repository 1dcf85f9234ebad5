#include "heappolicy.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

void useMappedLargeBlocks() {
#if defined(__GLIBC__) && defined(M_MMAP_THRESHOLD)
    // A fixed threshold also stops glibc from raising it on its own.
    mallopt(M_MMAP_THRESHOLD, 64 * 1024);
#endif
}
