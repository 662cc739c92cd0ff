#include "demo_sheets.h"

std::vector<SongSheet> demoSongSheets()
{
    return {sunnySpotSheet(), paperKitesSheet(), glassHarborSheet(), starfallCircuitSheet()};
}
