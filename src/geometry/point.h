// The program's 2-D point of doubles. Equality is "within 0.001 on each axis",
// so it is not transitive: code that groups points with == accepts chains of
// nearly equal points.
#pragma once

#include "platform/win_types.h"

class CDPoint {
public:
    double x = 0.0;
    double y = 0.0;

    CDPoint() = default;
    CDPoint(double x_, double y_) : x(x_), y(y_) {}

    CDPoint operator+(const CDPoint& o) const { return {x + o.x, y + o.y}; }
    CDPoint operator-(const CDPoint& o) const { return {x - o.x, y - o.y}; }
    CDPoint operator+(const POINT& p) const { return {x + p.x, y + p.y}; }
    CDPoint operator*(float f) const { return {x * double(f), y * double(f)}; }
    // No test for a zero divisor: the callers never divide by zero.
    CDPoint operator/(float f) const { return {x / double(f), y / double(f)}; }

    CDPoint& operator+=(CDPoint o) { x += o.x; y += o.y; return *this; }
    CDPoint& operator-=(CDPoint o) { x -= o.x; y -= o.y; return *this; }
    CDPoint& operator+=(const POINT& p) { x += p.x; y += p.y; return *this; }
    CDPoint& operator-=(const POINT& p) { x -= p.x; y -= p.y; return *this; }
    CDPoint& operator-=(const SIZE& s) { x -= s.cx; y -= s.cy; return *this; }
    CDPoint& operator*=(float f) { x *= double(f); y *= double(f); return *this; }

    CDPoint& operator=(const POINT& p) { x = p.x; y = p.y; return *this; }
    CDPoint& operator=(const SIZE& s) { x = s.cx; y = s.cy; return *this; }

    bool operator==(const CDPoint& o) const;
    bool operator!=(const CDPoint& o) const { return !(*this == o); }
};
