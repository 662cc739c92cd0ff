#pragma once
// The three judgements a note can get; counts and colours are indexed by them.
enum Judgement { Miss = 0, Good = 1, Great = 2 };

// The word the pop-up shows and the trace writes: MISS, GOOD or GREAT.
const char *judgementWord(Judgement judgement);
