// The three value stacks of the drill-program interpreter: 20 entries each,
// 4-byte entries on the float stacks and 8-byte entries on the point stack.
// Entries are raw bytes, so an int may ride on a float stack as it is.
#pragma once

#include <cstddef>

constexpr int STACK_PUSH = 1;
constexpr int STACK_POP = 2;
constexpr int VALUE_STACK_DEPTH = 20;

namespace detail {
int FloatStack1Raw(int op, void* value);
int FloatStack2Raw(int op, void* value);
int PointStackRaw(int op, void* value);
}  // namespace detail

// op 1 pushes *value (when full: "Push Out of Float Stack !"), op 2 pops into
// *value (when empty: "Pop Out of Float Stack !"); both return the new count.
// Any other op does nothing and returns 0.
template <class T>
int FloatStack1(int op, T* value)
{
    static_assert(sizeof(T) == 4, "the float stacks hold 4-byte values");
    return detail::FloatStack1Raw(op, value);
}

template <class T>
int FloatStack2(int op, T* value)
{
    static_assert(sizeof(T) == 4, "the float stacks hold 4-byte values");
    return detail::FloatStack2Raw(op, value);
}

template <class T>
int PointStack(int op, T* value)
{
    static_assert(sizeof(T) == 8, "the point stack holds 8-byte values");
    return detail::PointStackRaw(op, value);
}

// Empties the three stacks. The interpreter starts each walk of a program
// with this, so an earlier walk that stopped halfway leaves nothing behind.
void ResetValueStacks();
// Entries on each stack, for tests.
int FloatStack1Count();
int FloatStack2Count();
int PointStackCount();
