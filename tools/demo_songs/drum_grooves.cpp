#include "drum_grooves.h"

#include <cmath>

static void addHats(std::vector<DrumHit> &hits, double from, double to, double step, double velocity)
{
    for (double beat = from; beat < to - 1e-9; beat += step) {
        const bool onBeat = std::fabs(beat - std::round(beat)) < 1e-9;
        hits.push_back(DrumHit{beat, Drum::ClosedHat, onBeat ? velocity : velocity * 0.65});
    }
}

static void addBackbeat(std::vector<DrumHit> &hits, double beats)
{
    for (double beat = 0.0; beat < beats - 1e-9; beat += 1.0) {
        const bool even = static_cast<int>(beat) % 2 == 0;
        hits.push_back(DrumHit{beat, even ? Drum::Kick : Drum::Snare, even ? 0.95 : 0.8});
    }
}

std::vector<DrumHit> grooveHits(Groove groove, double beats)
{
    std::vector<DrumHit> hits;
    switch (groove) {
    case Groove::Silent:
        break;
    case Groove::Hats:
        addHats(hits, 0.0, beats, 0.5, 0.5);
        break;
    case Groove::Backbeat:
        addBackbeat(hits, beats);
        if (beats >= 4.0)
            hits.push_back(DrumHit{2.5, Drum::Kick, 0.6});
        addHats(hits, 0.0, beats, 0.5, 0.55);
        break;
    case Groove::Drive:
        addBackbeat(hits, beats);
        hits.push_back(DrumHit{1.5, Drum::Kick, 0.7});
        addHats(hits, 0.0, beats - 0.5, 0.25, 0.45);
        hits.push_back(DrumHit{beats - 0.5, Drum::OpenHat, 0.5});
        break;
    case Groove::HalfTime:
        hits.push_back(DrumHit{0.0, Drum::Kick, 0.95});
        hits.push_back(DrumHit{beats / 2.0, Drum::Snare, 0.8});
        hits.push_back(DrumHit{beats - 1.5, Drum::Kick, 0.6});
        addHats(hits, 0.0, beats, 0.5, 0.45);
        break;
    case Groove::Waltz:
        hits.push_back(DrumHit{0.0, Drum::Kick, 0.95});
        for (double beat = 1.0; beat < beats - 1e-9; beat += 1.0)
            hits.push_back(DrumHit{beat, Drum::Snare, 0.35});
        addHats(hits, 0.0, beats, 0.5, 0.4);
        break;
    case Groove::Fill: {
        // The groove for all but the last two beats, then a rising run of snare eighths.
        const double runStart = beats - 2.0;
        for (const DrumHit &hit : grooveHits(Groove::Backbeat, beats))
            if (hit.beat < runStart - 1e-9)
                hits.push_back(hit);
        hits.push_back(DrumHit{runStart, Drum::Kick, 0.9});
        for (int i = 0; i < 4; ++i)
            hits.push_back(DrumHit{runStart + 0.5 * i, Drum::Snare, 0.45 + 0.15 * i});
        break;
    }
    case Groove::Ending:
        hits.push_back(DrumHit{0.0, Drum::Kick, 1.0});
        break;
    }
    return hits;
}

bool startsSection(Groove groove, Groove previous)
{
    const bool playsGroove = groove != Groove::Silent && groove != Groove::Hats && groove != Groove::Fill;
    return playsGroove && (groove != previous || groove == Groove::Ending);
}
