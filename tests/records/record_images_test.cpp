// Byte images of the stored records: a record with every field set writes
// exactly the hand-written image, reads it back equal (padding included) and
// is left untouched by a short image.
#include "platform/binary_io.h"
#include "records/board_records.h"
#include "records/copper_records.h"
#include "support/hex_fixture.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> ReadHexFixture(const std::string& name)
{
    return ReadHexFile(TestDataPath(name));
}

template <class Record>
std::vector<std::uint8_t> ImageOf(const Record& record)
{
    CBinaryWriter out;
    record.WriteImage(out);
    return out.Data();
}

// The shared checks: exact image, size, round trip, short image refused.
template <class Record>
void CheckImage(const Record& record, const std::string& fixture)
{
    std::vector<std::uint8_t> expected = ReadHexFixture(fixture);
    ASSERT_EQ(expected.size(), Record::kImageSize) << fixture;
    EXPECT_EQ(ImageOf(record), expected) << fixture;

    Record back;
    CBinaryReader in(expected);
    ASSERT_TRUE(back.ReadImage(in)) << fixture;
    EXPECT_TRUE(in.AtEnd()) << fixture;
    EXPECT_EQ(ImageOf(back), expected) << fixture;

    CBinaryReader shortIn(expected.data(), expected.size() - 1);
    Record blank;
    EXPECT_FALSE(blank.ReadImage(shortIn)) << fixture;
    EXPECT_EQ(ImageOf(blank), ImageOf(Record())) << fixture;
}

}  // namespace

TEST(RecordImages, TrackImageIs48BytesAtTheStoredOffsets)
{
    CTrackRecord t;
    t.groupNo = 7;
    t.recordNo = 0x01020304;
    t.x1 = 1.5f;
    t.y1 = -2.0f;
    t.x2 = 10.0f;
    t.y2 = 0.25f;
    t.width = 8.0f;
    t.type = 8;
    t.aperture = 42;
    t.pad30[0] = 0xAB;
    t.pad30[1] = 0xCD;
    t.arcHalfWidth = 4.0f;
    t.chordMark = 100;
    t.used = 1;
    t.pad41[0] = 0x11;
    t.pad41[1] = 0x22;
    t.pad41[2] = 0x33;
    t.joined = 1;
    CheckImage(t, "track_record.hex");

    CTrackRecord back;
    std::vector<std::uint8_t> image = ReadHexFixture("track_record.hex");
    CBinaryReader in(image);
    ASSERT_TRUE(back.ReadImage(in));
    EXPECT_EQ(back.recordNo, 0x01020304);
    EXPECT_EQ(back.y1, -2.0f);
    EXPECT_EQ(back.pad30[1], 0xCD);
    EXPECT_EQ(back.pad41[2], 0x33);
}

TEST(RecordImages, FlashImageIs44BytesAtTheStoredOffsets)
{
    CFlashRecord f;
    f.x = 100.0f;
    f.y = -50.5f;
    f.radius = 3.0f;
    f.type = 3;
    f.pad13[0] = 0xA1;
    f.pad13[1] = 0xA2;
    f.pad13[2] = 0xA3;
    f.recordNo = 17;
    f.groupNo = -1;
    f.aperture = 5;
    for (int i = 0; i < 7; ++i)
        f.pad25[i] = std::uint8_t(0xB1 + i);
    f.arcMark = 100;
    f.used = 1;
    f.pad37[0] = 0xC1;
    f.pad37[1] = 0xC2;
    f.pad37[2] = 0xC3;
    f.spare40 = 0x0D0C0B0A;
    CheckImage(f, "flash_record.hex");

    CFlashRecord back;
    std::vector<std::uint8_t> image = ReadHexFixture("flash_record.hex");
    CBinaryReader in(image);
    ASSERT_TRUE(back.ReadImage(in));
    EXPECT_EQ(back.groupNo, -1);
    EXPECT_EQ(back.y, -50.5f);
    EXPECT_EQ(back.pad25[6], 0xB7);
}

TEST(RecordImages, PathSegmentImageIs72BytesAtTheStoredOffsets)
{
    CPathSegment s;
    s.x1 = 1.0;
    s.y1 = 2.0;
    s.x2 = -3.0;
    s.y2 = 0.5;
    s.cx = 100.0;
    s.cy = -0.25;
    s.radius = 1.5;
    s.type = 2;
    s.value = -7;
    s.flag = 256;
    s.pad68[0] = 0xDE;
    s.pad68[1] = 0xAD;
    s.pad68[2] = 0xBE;
    s.pad68[3] = 0xEF;
    CheckImage(s, "path_segment.hex");

    CPathSegment back;
    std::vector<std::uint8_t> image = ReadHexFixture("path_segment.hex");
    CBinaryReader in(image);
    ASSERT_TRUE(back.ReadImage(in));
    EXPECT_EQ(back.cy, -0.25);
    EXPECT_EQ(back.value, -7);
}

TEST(RecordImages, ImagesFollowEachOtherInAStream)
{
    // Side files store records back to back: each read takes exactly its own bytes.
    CTrackRecord t;
    t.recordNo = 5;
    CFlashRecord f;
    f.recordNo = 6;
    CBinaryWriter out;
    t.WriteImage(out);
    f.WriteImage(out);
    t.WriteImage(out);
    ASSERT_EQ(out.Size(), 48u + 44u + 48u);

    CBinaryReader in(out.Data());
    CTrackRecord t1, t2;
    CFlashRecord f1;
    EXPECT_TRUE(t1.ReadImage(in));
    EXPECT_TRUE(f1.ReadImage(in));
    EXPECT_TRUE(t2.ReadImage(in));
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(f1.recordNo, 6);
    EXPECT_EQ(t2.recordNo, 5);
}
