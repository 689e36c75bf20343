// Fixed-depth stacks with the interpreter's overflow and underflow messages.
#include "geometry/value_stacks.h"

#include "platform/host.h"
#include "platform/program_objects.h"

#include <cstring>

namespace {

template <std::size_t Width>
struct ValueStack {
    unsigned char entries[VALUE_STACK_DEPTH][Width] = {};
    int count = 0;

    int Apply(int op, void* value)
    {
        if (op == STACK_PUSH) {
            if (count < VALUE_STACK_DEPTH)
                std::memcpy(entries[count++], value, Width);
            else
                AfxMessageBox("Push Out of Float Stack !", MB_OK);
            return count;
        }
        if (op == STACK_POP) {
            if (count > 0)
                std::memcpy(value, entries[--count], Width);
            else
                AfxMessageBox("Pop Out of Float Stack !", MB_OK);
            return count;
        }
        return 0;
    }
};

ValueStack<4> g_FloatStack1;
ValueStack<4> g_FloatStack2;
ValueStack<8> g_PointStack;

const CProgramObjectReset s_Reset(ResetValueStacks);

}  // namespace

int detail::FloatStack1Raw(int op, void* value) { return g_FloatStack1.Apply(op, value); }
int detail::FloatStack2Raw(int op, void* value) { return g_FloatStack2.Apply(op, value); }
int detail::PointStackRaw(int op, void* value) { return g_PointStack.Apply(op, value); }

void ResetValueStacks()
{
    g_FloatStack1.count = 0;
    g_FloatStack2.count = 0;
    g_PointStack.count = 0;
}

int FloatStack1Count() { return g_FloatStack1.count; }
int FloatStack2Count() { return g_FloatStack2.count; }
int PointStackCount() { return g_PointStack.count; }
