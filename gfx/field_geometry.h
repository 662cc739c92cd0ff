#pragma once
// The arithmetic of the play field: sizes in view units (x from -1 at the left edge to +1 at the
// right, y up from the vertical centre, one unit = half the client width), the column of a pitch,
// the height of a time, and the fixed shapes every frame draws from.
#include <cstdint>

// The judgement line lies this far below the centre, in units of aspect (the double constant
// nearest below 11/24).
constexpr double JudgeLineDepth = 0.45833333;

// Sizes derived from the client area at the start of every frame.
struct FieldMetrics {
    int width = 0;  // W, client pixels
    int height = 0; // H
    int half = 0;   // h = W / 2: pixels per view unit
    int fieldMargin = 0;
    double aspect = 0.0;     // H / W; the visible band is y from -aspect to +aspect
    double marginView = 0.0; // P = fieldMargin / h
    int halfSemitonePx = 0;  // note heads and the pointer band are this wide
    double semitoneWidth = 0.0;
    double stripeHalfWidth = 0.0; // half a semitone: stripes and keys
    double stripeHalfHeight = 0.0;
    double headHalfWidth = 0.0;  // hs
    double headHalfHeight = 0.0; // nh
    double judgeLineY = 0.0;
    double keyboardY = 0.0; // centre of the stripes and keys: the keys reach from the
                            // bottom edge up to the judgement line
};

FieldMetrics fieldMetrics(int width, int height, int fieldMargin, double aspect);

// Centre x of semitone column k (-1 ... 25); column 12 is the middle of the window.
double columnX(const FieldMetrics &metrics, int k);

// k minus 12 x trunc(k / 12): the remainder keeps the sign of k, so column -1 gives -1.
int semitoneRemainder(int k);
// Columns -1, 0...4, 12...16, 24, 25 carry a stripe.
bool isStripeColumn(int k);
// Grey and alpha of the key under column k.
double keyGrey(int k);
double keyAlpha(int k);

// What the height of a time depends on.
struct ScrollRule {
    int songTimeMs = 0;
    uint32_t msPerBeat = 0;
    double scrollSpeed = 1.0;
    double aspect = 0.75;
};

// y of a note or measure line at timeMs: judgement line now, top edge eight beats ahead at scroll
// speed 1. Without a tempo nothing scrolls: the present stays on the line, the past and the future
// leave the visible band instead of being divided by zero.
double scrollY(const ScrollRule &rule, uint32_t timeMs);

// The shapes built once and drawn from client-side arrays.
struct StaticGeometry {
    float cubeVertices[8][3];
    uint32_t cubeFaces[6][4];
    float circleTable[32][2];
};
const StaticGeometry &staticGeometry();

// (-1,-1), (1,-1), (1,1), (-1,1): bottom corners first.
extern const float unitSquare[8];
