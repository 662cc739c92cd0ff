#pragma once
// The arithmetic of the effects drawn over the field, apart from their drawing so tests can feed
// it numbers.
#include <cstdint>

#include "library/chart.h"

// How long a judged note's disc runs.
constexpr uint32_t HitEffectMs = 200;

// A disc drawn twice on the judgement line: at this radius and at half of it.
struct Disc {
    double radius = 0.0;
    double alpha = 0.0;
};

// A judged note's disc eases out to 0.2 view units while it fades.
Disc hitEffectDisc(uint32_t sinceGradeMs);

// Where the disc of a held slide stands: from its start p toward its end c by the share of the
// slide played, and no further than c. Before p's time it stands beyond p, on the far side from
// c. False when both notes share one time: there is no slide to show.
bool linkEffectX(const ChartNote &p, const ChartNote &c, int songTimeMs, double &x);

// The judgement line dims through each beat once the song's measures run.
double judgementLineAlpha(uint32_t msPerBeat, int measureIndex, double beatPhase);

// The blue sheet after a full combo: its lower edge stays on the judgement line; its height
// changes as it fades.
struct GlowSheet {
    float alpha = 0.0f; // at the lower edge; the upper edge is clear
    double halfHeight = 0.0;
};
GlowSheet fullComboGlow(uint32_t sinceFullComboMs);
