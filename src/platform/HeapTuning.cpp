#include "platform/HeapTuning.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace kavoret {

void keepFreedHeapForReuse() {
#if defined(M_TOP_PAD)
    // The top of the heap keeps 16 MiB when it shrinks.
    mallopt(M_TOP_PAD, 16 * 1024 * 1024);
#endif
}

} // namespace kavoret
