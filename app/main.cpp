#include <malloc.h>

#include "app/game_window.h"
#include "app/run_application.h"
#include "platform/window.h"

int main()
{
    // The software GL driver allocates and frees a frame-sized buffer at every swap; with glibc's
    // default thresholds that memory goes back to the system and comes back each frame (about
    // 570 page faults and 1 ms a frame). Keeping freed memory in the process avoids it.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    if (!openGameWindow())
        return 1;
    runApplication();
    windowDestroy();
    return 0;
}
