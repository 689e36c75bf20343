// Net numbers of the working side's copper: each pad and each straight track
// that has none starts a net, which spreads to every record it touches, and
// from those on. Numbers given earlier (the readers' groups among them) are
// kept; arc records get none.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

class CBoardModel;

// Called after each record with (records done, records in all); returns
// true when the operator cancelled.
using CNetProgress = std::function<bool(std::size_t done, std::size_t total)>;

class CNetNumbering {
public:
    explicit CNetNumbering(CBoardModel& model);
    ~CNetNumbering();
    CNetNumbering(const CNetNumbering&) = delete;
    CNetNumbering& operator=(const CNetNumbering&) = delete;

    // Pads first, then tracks, in list order; numbers run from 1. False when
    // the progress callback reported a cancel (numbers given so far stay).
    bool NumberAll(const CNetProgress& progress = {});

    // Spreads the net number of one record (kind 1 a pad, 2 a track) to
    // every unnumbered record it touches, and on from each of those in the
    // order they were found: depth first, as deep as the longest chain,
    // without using the call stack for it.
    enum Kind { kFlash = 1, kTrack = 2 };
    void SpreadNetNumber(void* record, int kind);

private:
    struct Index;
    CBoardModel& m_Model;
    std::unique_ptr<Index> m_Index;
};
