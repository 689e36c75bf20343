// The measuring and teach keys: what the joystick's buttons (and the keys
// the view maps onto them) do while the operator drives the machine by
// hand. Buttons 1 to 3 measure points and distances, 4 records a drill point
// seen under the camera into the measurement window and the hole list, 5 to
// 8 choose the jog speed, 9 and 10 teach the board's corners, after which
// the panel layout becomes one board copy of that size.
#pragma once

#include "geometry/point.h"

#include <functional>

class CPanelLayout;

// The jog speeds the speed buttons choose (mm/s).
constexpr float kJogSpeeds[4] = {0.1f, 1.0f, 5.0f, 35.0f};

// What the keys keep and change of the view.
struct CMeasureKeyView {
    CDPoint* pointA = nullptr;  // machine pulses
    CDPoint* pointB = nullptr;
    CDPoint* pointC = nullptr;
    float* drillSize = nullptr;  // mil; 0 asks for it
    CPanelLayout* layout = nullptr;
    std::function<void()> repaint;
};

// The two taught corners (mil), kept for the whole run.
struct CTaughtCorners {
    CDPoint leftTop{0.0, 0.0};
    CDPoint rightBottom{0.0, 0.0};
};
extern CTaughtCorners g_TaughtCorners;

// One press: `code` holds exactly one button bit (any other value does
// nothing); `speedIndex` receives the speed buttons' choice.
void MeasureKey(unsigned code, int* speedIndex, const CMeasureKeyView& view);

// Button 4: records the machine's position (seen through the camera) as a
// new drill point. Asks the size when there is none; Cancel records
// nothing. 0 when nothing was recorded.
int RecordDrillPoint(const CMeasureKeyView& view);

// The panel rebuilt as one board copy between the two taught corners: the
// board extent, a closed outline with an orientation mark at the first
// corner, held relative to the copy's centre.
void RebuildLayoutFromCorners(CPanelLayout& layout, const CTaughtCorners& corners);
