// The copper records come from slabs both kinds share: many of each, made
// in turn, each keep their own room, and a freed room serves the next
// record of its kind.
#include "records/copper_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

TEST(RecordPool, TracksAndFlashesMadeInTurnNeverShareRoom)
{
    // Some slabs' worth of each kind, in turn, so their pieces interleave.
    constexpr int kEach = 60000;
    std::vector<std::unique_ptr<CTrackRecord>> tracks;
    std::vector<std::unique_ptr<CFlashRecord>> flashes;
    for (int i = 0; i < kEach; ++i) {
        tracks.push_back(std::make_unique<CTrackRecord>());
        tracks.back()->recordNo = i;
        tracks.back()->apertureNo = -i;
        flashes.push_back(std::make_unique<CFlashRecord>());
        flashes.back()->recordNo = i;
        flashes.back()->apertureNo = -i;
    }
    for (int i = 0; i < kEach; ++i) {
        ASSERT_EQ(tracks[i]->recordNo, i);
        ASSERT_EQ(tracks[i]->apertureNo, -i);
        ASSERT_EQ(flashes[i]->recordNo, i);
        ASSERT_EQ(flashes[i]->apertureNo, -i);
    }
    // No two records overlap, whatever their kind.
    std::vector<std::pair<std::uintptr_t, std::size_t>> rooms;
    for (const auto& t : tracks)
        rooms.emplace_back(reinterpret_cast<std::uintptr_t>(t.get()), sizeof(CTrackRecord));
    for (const auto& f : flashes)
        rooms.emplace_back(reinterpret_cast<std::uintptr_t>(f.get()), sizeof(CFlashRecord));
    std::sort(rooms.begin(), rooms.end());
    for (std::size_t i = 1; i < rooms.size(); ++i)
        ASSERT_GE(rooms[i].first, rooms[i - 1].first + rooms[i - 1].second) << i;

    // A freed track's room is the next track's; the flashes keep theirs.
    const CTrackRecord* freed = tracks[kEach / 2].get();
    tracks[kEach / 2].reset();
    auto next = std::make_unique<CTrackRecord>();
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_EQ(next.get(), freed);
#endif
    EXPECT_EQ(next->recordNo, 0);
    for (int i = 0; i < kEach; ++i)
        ASSERT_EQ(flashes[i]->apertureNo, -i);
}
