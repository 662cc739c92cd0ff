#include "rules/player_pitch.h"

#include <algorithm>

double playerPitchAt(double pointerX, int clientWidth, int fieldMargin, int octave)
{
    // A window squeezed to the width of its margins has no field; keep the pitch finite.
    const int halfField = std::max((clientWidth - 2 * fieldMargin) / 2, 1);
    return 12.0 * (pointerX - clientWidth / 2) / halfField + 12.0 * (octave - 4);
}
