/* winbgim.h: the name WinBGIm's programs include; the same as <graphics.h>. */
#include "graphics.h"
