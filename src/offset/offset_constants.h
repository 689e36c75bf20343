// The numbers the offset engine's geometry is tuned to. Each routine converts
// degrees with the value of pi it was tuned with; results at the slack
// boundaries depend on which one, so they are kept apart by name.
#pragma once

namespace offset {

constexpr double kPi = 3.1415926;        // angles of sources, caps of lines, trimming
constexpr double kPiShort = 3.14159;     // angle tests, middle points of arcs, widening
constexpr double kPiLong = 3.14159267;   // end points of offset arcs, caps of arc tracks

constexpr double kAngleSlack = 0.1;       // degrees an angle test accepts beyond an arc
constexpr double kBandSlack = 0.5;        // mil an arc band test accepts beyond its ring
constexpr double kBoxSlack = 0.005;       // mil a segment box test accepts beyond its box
constexpr double kEndJoinSlack = 1.0;     // mil beyond d/2 at which end points still join
constexpr double kCentreJoinSlack = 0.1;  // mil beyond d/2 at which centres still join
constexpr double kJoinDistance = 2.0;     // mil within which two end points are one

constexpr double kTrimEndTolerance = 0.0001;   // a line crossing this near an end is its end
constexpr double kTrimLineArcEnd = 0.1;        // a line is not split this near its end by an arc
constexpr double kTrimArcAngle = 0.01;         // degrees: an arc split by a line
constexpr double kTrimArcArcAngle = 0.05;      // degrees: an arc split by an arc
constexpr double kTrimShortest = 0.25;         // shorter line pieces are dropped
constexpr double kFamilyTolerance = 0.1;       // centres and radii of one arc family

inline double Degrees(double radians, double pi) { return radians * 180.0 / pi; }
inline double Radians(double degrees, double pi) { return degrees * pi / 180.0; }

}  // namespace offset
