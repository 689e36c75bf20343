// The interpreter's value stacks: depth 20, raw entries, boxed overflow and
// underflow.
#include "geometry/value_stacks.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

TEST(ValueStacks, PushPopAreLastInFirstOut)
{
    float a = 1.5f, b = 2.5f, out = 0;
    EXPECT_EQ(FloatStack1(STACK_PUSH, &a), 1);
    EXPECT_EQ(FloatStack1(STACK_PUSH, &b), 2);
    EXPECT_EQ(FloatStack1(STACK_POP, &out), 1);
    EXPECT_EQ(out, 2.5f);
    EXPECT_EQ(FloatStack1(STACK_POP, &out), 0);
    EXPECT_EQ(out, 1.5f);
    EXPECT_TRUE(TestHost().Boxes().empty());
}

TEST(ValueStacks, EntriesAreRawBytesSoIntsRideOnTheFloatStack)
{
    int line = 123456789, back = 0;
    FloatStack2(STACK_PUSH, &line);
    FloatStack2(STACK_POP, &back);
    EXPECT_EQ(back, 123456789);

    struct { float x, y; } signs{-1.0f, 1.0f}, got{};
    EXPECT_EQ(PointStack(STACK_PUSH, &signs), 1);
    EXPECT_EQ(PointStack(STACK_POP, &got), 0);
    EXPECT_EQ(got.x, -1.0f);
    EXPECT_EQ(got.y, 1.0f);
}

TEST(ValueStacks, OverflowAndUnderflowShowTheirMessageAndChangeNothing)
{
    struct Case {
        const char* name;
        int (*push)(float*);
        int (*pop)(float*);
        int (*count)();
    } cases[] = {
        {"FloatStack1", [](float* v) { return FloatStack1(STACK_PUSH, v); },
         [](float* v) { return FloatStack1(STACK_POP, v); }, FloatStack1Count},
        {"FloatStack2", [](float* v) { return FloatStack2(STACK_PUSH, v); },
         [](float* v) { return FloatStack2(STACK_POP, v); }, FloatStack2Count},
        {"PointStack",
         [](float* v) { double d = *v; return PointStack(STACK_PUSH, &d); },
         [](float* v) { double d = 0; int n = PointStack(STACK_POP, &d); if (d) *v = float(d); return n; },
         PointStackCount},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetValueStacks();
        CScriptedHost& host = TestHost();
        std::size_t boxes = host.Boxes().size();

        float v = 7.0f;
        EXPECT_EQ(c.pop(&v), 0);  // empty: count stays 0, value untouched
        EXPECT_EQ(v, 7.0f);
        ASSERT_EQ(host.Boxes().size(), boxes + 1);
        EXPECT_EQ(host.Boxes().back().text, "Pop Out of Float Stack !");
        EXPECT_EQ(host.Boxes().back().type, MB_OK);

        for (int i = 1; i <= VALUE_STACK_DEPTH; ++i) {
            float x = float(i);
            EXPECT_EQ(c.push(&x), i);
        }
        float extra = 99.0f;
        EXPECT_EQ(c.push(&extra), VALUE_STACK_DEPTH);
        EXPECT_EQ(c.count(), VALUE_STACK_DEPTH);
        EXPECT_EQ(host.Boxes().back().text, "Push Out of Float Stack !");

        float top = 0;
        c.pop(&top);
        EXPECT_EQ(top, 20.0f);  // the 21st value was not stored
    }
}

TEST(ValueStacks, UnknownOperationDoesNothing)
{
    float v = 1.0f;
    FloatStack1(STACK_PUSH, &v);
    EXPECT_EQ(FloatStack1(3, &v), 0);
    EXPECT_EQ(FloatStack1(0, &v), 0);
    EXPECT_EQ(FloatStack1Count(), 1);
}
