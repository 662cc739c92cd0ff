#include "app/game_window.h"
#include "app/run_application.h"
#include "platform/window.h"

int main()
{
    if (!openGameWindow())
        return 1;
    runApplication();
    windowDestroy();
    return 0;
}
