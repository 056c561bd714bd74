/* A stand-in for the X client library libXinerama.so.1 that reports two heads of 1280x1024 side
   by side on a 2560x1024 screen. Xvfb cannot lay out screens: with +xinerama it puts them all at
   0,0, which Wine takes for mirrored monitors. Loaded by Wine's X11 driver through
   LD_LIBRARY_PATH (see two_monitors.sh). */
#include <stdlib.h>

typedef struct {
    int screen_number;
    short x_org, y_org, width, height;
} XineramaScreenInfo;

int XineramaQueryExtension(void* display, int* event_base, int* error_base)
{
    (void)display;
    *event_base = 0;
    *error_base = 0;
    return 1;
}

/* The caller frees the list with XFree, which is free. */
XineramaScreenInfo* XineramaQueryScreens(void* display, int* count)
{
    (void)display;
    XineramaScreenInfo* heads = malloc(2 * sizeof *heads);
    *count = 0;
    if (!heads)
        return NULL;
    heads[0] = (XineramaScreenInfo){0, 0, 0, 1280, 1024};
    heads[1] = (XineramaScreenInfo){1, 1280, 0, 1280, 1024};
    *count = 2;
    return heads;
}
