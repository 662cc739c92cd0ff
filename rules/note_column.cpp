#include "rules/note_column.h"

#include "library/chart.h"

double noteColumnX(const ChartNote &note, int clientWidth, int fieldMargin)
{
    const int half = clientWidth / 2;
    const double semitonePx = (clientWidth - 2 * fieldMargin) * 0.5 / 12.0;
    const int px = static_cast<int>((12 * note.octaveShift + note.pitch) * semitonePx + half);
    return static_cast<double>(px) / half - 1.0;
}
