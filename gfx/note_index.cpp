#include "gfx/note_index.h"

#include <functional>

int noteIndexOf(const Chart &chart, const ChartNote *note)
{
    const ChartNote *begin = chart.notes.data();
    const std::less<const ChartNote *> before;
    if (before(note, begin) || !before(note, begin + chart.noteCount))
        return -1;
    return static_cast<int>(note - begin);
}
