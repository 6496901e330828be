/* alloc.h: Borland's header for the far heap, which the library reference's
 * getimage and putimage examples include (farmalloc, farfree, void far *).
 * A flat address space has one heap: the far calls are the C library's. */
#ifndef PLIMO_BGI_ALLOC_H
#define PLIMO_BGI_ALLOC_H

#include <stdlib.h>

/* <windows.h> defines these as well, as empty. */
#ifndef far
#define far
#endif
#ifndef near
#define near
#endif

#define farmalloc(nbytes) malloc(nbytes)
#define farcalloc(nunits, unitsz) calloc((nunits), (unitsz))
#define farrealloc(block, nbytes) realloc((block), (nbytes))
#define farfree(block) free(block)

#endif
