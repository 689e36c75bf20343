// Exchanges and mixed-type minimum and maximum used throughout the program.
#pragma once

#include <cstdint>
#include <cstring>

inline void SwapInt(int* a, int* b)
{
    int t = *a;
    *a = *b;
    *b = t;
}

// Exchanges two 32-bit values of any kind (ints, floats, longs).
template <class T>
void SwapDWord(T* a, T* b)
{
    static_assert(sizeof(T) == 4, "SwapDWord exchanges 32-bit values");
    T t = *a;
    *a = *b;
    *b = t;
}

// Exchanges two 8-byte values: integer points, float pairs or doubles.
template <class T>
void SwapPoint(T* a, T* b)
{
    static_assert(sizeof(T) == 8, "SwapPoint exchanges 8-byte values");
    T t = *a;
    *a = *b;
    *b = t;
}

inline float MinF(float a, float b) { return a < b ? a : b; }
inline float MaxF(float a, float b) { return a > b ? a : b; }
inline double MinD(double a, double b) { return a < b ? a : b; }
inline double MaxD(double a, double b) { return a > b ? a : b; }
inline double MinFD(float a, double b) { return MinD(double(a), b); }
inline double MaxFD(float a, double b) { return MaxD(double(a), b); }
inline int MinInt(int a, int b) { return a < b ? a : b; }
inline int MaxInt(int a, int b) { return a > b ? a : b; }

// A coordinate truncated toward zero into an int32, saturating at the type's
// limits (NaN gives 0): a damaged file's huge number must not wrap around.
inline std::int32_t TruncToInt32(double v)
{
    if (!(v == v))
        return 0;
    if (v >= 2147483647.0)
        return INT32_MAX;
    if (v <= -2147483648.0)
        return INT32_MIN;
    return static_cast<std::int32_t>(v);
}
