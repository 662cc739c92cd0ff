#pragma once

// A clickable rectangle in view units (x from -1 to 1 across the width, y up from the centre).
struct ScreenControl {
    double centreX = 0.0;
    double centreY = 0.0;
    double halfWidth = 0.0;
    double halfHeight = 0.0;
};

enum ControlId {
    ControlNone = 0,
    ControlPreviousSong = 1,
    ControlNextSong = 2,
    ControlWaveType = 3,
    ControlScrollSpeed = 4,
    ControlUnison = 5
};

// Key codes the controls stand for while held with the left button, and the code of each
// control, indexed by ControlId.
enum ControlCode {
    CodeNone = 0,
    CodePreviousSong = 2,
    CodeNextSong = 4,
    CodeScrollSpeed = 7,
    CodeWaveType = 8,
    CodeUnison = 9
};
constexpr int ControlCodes[6] = {CodeNone, CodePreviousSong, CodeNextSong, CodeWaveType, CodeScrollSpeed, CodeUnison};
