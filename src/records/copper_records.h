// The two records in which the working side's copper is held: a stroke
// (CTrackRecord) and a round pad (CFlashRecord). Their byte images are a
// stored format (side files, project files), so each has a fixed image with
// its padding bytes carried through as they were read.
#pragma once

#include <cstddef>
#include <cstdint>

class CBinaryReader;
class CBinaryWriter;

// A stroke in mil: a Gerber draw, a chord of an arc, an arc record, a fill
// stroke or a track made from a flash. Image: 48 bytes.
struct CTrackRecord {
    static constexpr std::size_t kImageSize = 48;

    std::int32_t groupNo = 0;    // running group counter of the reader
    std::int32_t recordNo = 0;   // reader's record counter at creation
    float x1 = 0.0f;             // start
    float y1 = 0.0f;
    float x2 = 0.0f;             // end; arc record: start angle (radians)
    float y2 = 0.0f;             // arc record: end angle (radians)
    float width = 0.0f;          // stroke width; arc record: arc radius
    std::uint8_t type = 0;       // 0 round, 1 rectangle, 2 oval, 8 arc record
    std::uint8_t aperture = 0;   // index in the aperture table
    std::uint8_t pad30[2] = {};
    float arcHalfWidth = 0.0f;   // arc record only: half the aperture width
    std::int32_t chordMark = 0;  // 100 for a chord of an arc, else 0
    std::uint8_t used = 0;       // used flag of later passes
    std::uint8_t pad41[3] = {};
    std::int32_t joined = 0;     // 1 once the grouping pass gave the group
    // In memory only: the full aperture index, which the byte above holds
    // only up to 255.
    std::int32_t apertureNo = 0;

    void WriteImage(CBinaryWriter& out) const;
    // The image into room of kImageSize bytes at `at`, for a writer that
    // makes room for many records at once.
    void PutImage(std::uint8_t* at) const;
    // Reads one image; on a short read the record is left as it was.
    bool ReadImage(CBinaryReader& in);

    // A side holds hundreds of thousands: they come from a pool.
    static void* operator new(std::size_t size);
    static void operator delete(void* p, std::size_t size) noexcept;
};

// A round pad in mil: a Gerber flash or the end pad of a stroke. Image: 44
// bytes.
struct CFlashRecord {
    static constexpr std::size_t kImageSize = 44;

    float x = 0.0f;              // centre
    float y = 0.0f;
    float radius = 0.0f;
    std::uint8_t type = 0;       // 0 round flash, 1 rectangle, 2 oval, 3 end pad
    std::uint8_t pad13[3] = {};
    std::int32_t recordNo = 0;
    std::int32_t groupNo = 0;
    std::uint8_t aperture = 0;   // index in the aperture table
    std::uint8_t pad25[7] = {};
    std::int32_t arcMark = 0;    // 100 for an end pad of an arc chord, else 0
    std::uint8_t used = 0;       // used flag of later passes
    std::uint8_t pad37[3] = {};
    std::int32_t spare40 = 0;    // always 0 when made
    std::int32_t apertureNo = 0; // in memory only: the full aperture index

    void WriteImage(CBinaryWriter& out) const;
    // The image into room of kImageSize bytes at `at`, for a writer that
    // makes room for many records at once.
    void PutImage(std::uint8_t* at) const;
    // Reads one image; on a short read the record is left as it was.
    bool ReadImage(CBinaryReader& in);

    // A side holds hundreds of thousands: they come from a pool.
    static void* operator new(std::size_t size);
    static void operator delete(void* p, std::size_t size) noexcept;
};
