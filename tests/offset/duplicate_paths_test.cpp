// Duplicate path removal: target pieces split where a reference piece ends
// beside them and deleted where they run within its band; the owner lists
// following with the flag 0.
#include "offset/duplicate_paths.h"
#include "offset_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct Duplicates : ::testing::Test {
    CIsoElementPool pool;
    CRefList<CIsoElement> target, reference;

    CIsoElement* Add(CRefList<CIsoElement>& list, const CIsoElement& e)
    {
        list.push_back(pool.Add(e));
        return list.back();
    }
};

}  // namespace

TEST_F(Duplicates, AHalfOverlappedLineLosesOnlyItsOverlappedHalf)
{
    struct Case {
        const char* name;
        double refStart;          // x where the reference line begins
        std::size_t left;         // target pieces left
        double keptEnd;           // x where the first kept piece ends
    } cases[] = {
        {"overlap from the middle", 50.0, 1, 50.0},
        // The foot lies 0.1 from the target's start: no split, and the
        // whole target runs along the reference.
        {"foot at the start", 0.1, 0, 0.0},
        {"reference beyond the target", 120.0, 1, 100.0},
    };
    for (const Case& c : cases) {
        target.clear();
        reference.clear();
        pool.Clear();
        Add(target, MakeLinePiece(0, 0, 100, 0));
        Add(reference, MakeLinePiece(c.refStart, 1, c.refStart + 100, 1));
        DeleteDuplicatePaths(pool, target, reference, 10.0f, 1);
        ASSERT_EQ(target.size(), c.left) << c.name;
        if (c.left) {
            EXPECT_NEAR(target[0]->Pt1.x, c.keptEnd, 1e-9) << c.name;
        }
        EXPECT_EQ(pool.Count(), target.size() + reference.size()) << c.name;
    }
}

TEST_F(Duplicates, ArcsAlongAReferenceArc)
{
    // Concentric, within the reference's angles and h of its radius: goes.
    Add(target, MakeArcPiece(0, 0, 52, 10, 80));
    // Sticking out of the reference's angles: only split halves near its
    // ends would go; the arc beyond stays.
    CIsoElement* out = Add(target, MakeArcPiece(0, 0, 52, 100, 200));
    Add(reference, MakeArcPiece(0, 0, 50, 0, 90));
    DeleteDuplicatePaths(pool, target, reference, 10.0f, 1);
    ASSERT_EQ(target.size(), 1u);
    EXPECT_EQ(target[0], out);
}

TEST_F(Duplicates, OwnerListsFollowOnlyWithFlagZero)
{
    for (std::uint8_t flag : {0, 1}) {
        target.clear();
        reference.clear();
        pool.Clear();
        CRefList<CIsoElement> owner;
        CIsoElement* p = Add(target, MakeLinePiece(0, 0, 100, 0));
        CIsoElement* gone = Add(target, MakeLinePiece(200, 0, 260, 0));
        p->Origin = &owner;
        gone->Origin = &owner;
        owner = {p, gone};
        Add(reference, MakeLinePiece(50, 1, 150, 1));
        Add(reference, MakeLinePiece(200, 2, 260, 2));
        DeleteDuplicatePaths(pool, target, reference, 10.0f, flag);
        ASSERT_EQ(target.size(), 1u);
        EXPECT_EQ(target[0], p);
        if (flag == 0) {
            EXPECT_EQ(owner, CRefList<CIsoElement>{p});
        } else {
            EXPECT_EQ(owner.size(), 2u);
        }
    }
    // Nothing to compare against, or nothing to compare: nothing changes.
    target.clear();
    reference.clear();
    Add(target, MakeLinePiece(0, 0, 10, 0));
    DeleteDuplicatePaths(pool, target, reference, 10.0f, 1);
    EXPECT_EQ(target.size(), 1u);
    CRefList<CIsoElement> none;
    DeleteDuplicatePaths(pool, none, target, 10.0f, 1);
    EXPECT_TRUE(none.empty());
}
