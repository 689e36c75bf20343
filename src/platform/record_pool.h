// Memory for records of one kind that a load makes by the hundred thousand
// (a copper side's strokes and pads). Each is its own heap block otherwise,
// with the allocator's bookkeeping beside it and its search for room on
// every one; here they are cut from large slabs and a freed record's room is
// reused by the next. A slab is 2 MB on a 2 MB boundary and asks the kernel
// for one large page: the first touch of fresh memory costs a page fault a
// page, and a side of a large board would otherwise take thousands. The
// kinds of record share the slabs, each taking a piece of 64 kB at a time,
// so only one slab is ever part used: a large page is taken whole at its
// first touch, and a slab of its own for each kind would leave each one's
// last slab part empty. Slabs stay with the program once taken, so the next
// load finds them ready. Records are made and freed on the program's one
// thread. Under the address sanitizer every record is its own
// block again, so a use after free is still caught.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>
#include <vector>

#include <sys/mman.h>

// The slabs every record pool takes its pieces from.
class CRecordSlabs {
public:
    static constexpr std::size_t kSlabBytes = std::size_t(2) << 20;
    static constexpr std::size_t kPieceBytes = std::size_t(64) << 10;

    // The next piece of kPieceBytes, from the current slab's fresh end or a
    // new slab.
    static void* TakePiece()
    {
        State& state = TheState();
        if (state.fresh == state.end) {
            void* slab = std::aligned_alloc(kSlabBytes, kSlabBytes);
            if (!slab)
                throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
            ::madvise(slab, kSlabBytes, MADV_HUGEPAGE);  // advice only: fine if refused
#endif
            state.slabs.push_back(slab);
            state.fresh = static_cast<unsigned char*>(slab);
            state.end = state.fresh + kSlabBytes;
        }
        void* piece = state.fresh;
        state.fresh += kPieceBytes;
        return piece;
    }

private:
    struct State {
        unsigned char* fresh = nullptr;   // the current slab's part never handed out
        unsigned char* end = nullptr;
        std::vector<void*> slabs;
    };
    // Never destroyed, as the pools' own states.
    static State& TheState()
    {
        static State* state = new State;
        return *state;
    }
};

template <class Record>
class CRecordPool {
public:
    static void* Allocate(std::size_t size)
    {
        if (!kPooled || size != sizeof(Record))
            return ::operator new(size);
        State& state = TheState();
        if (Slot* slot = state.free) {
            state.free = slot->next;
            return slot;
        }
        if (state.fresh == state.end)
            AddPiece(state);
        return state.fresh++;
    }

    static void Free(void* p, std::size_t size) noexcept
    {
        if (!p)
            return;
        if (!kPooled || size != sizeof(Record)) {
            ::operator delete(p);
            return;
        }
        State& state = TheState();
        Slot* slot = static_cast<Slot*>(p);
        slot->next = state.free;
        state.free = slot;
    }

private:
#if defined(__SANITIZE_ADDRESS__)
    static constexpr bool kPooled = false;
#else
    static constexpr bool kPooled = true;
#endif
    union Slot {
        Slot* next;
        alignas(Record) unsigned char room[sizeof(Record)];
    };
    struct State {
        Slot* free = nullptr;    // rooms given back, newest first
        Slot* fresh = nullptr;   // the current piece's rooms never handed out
        Slot* end = nullptr;
    };
    // Never destroyed: records freed by static destructors at exit still
    // find their pool.
    static State& TheState()
    {
        static State* state = new State;
        return *state;
    }

    static void AddPiece(State& state)
    {
        void* piece = CRecordSlabs::TakePiece();
        state.fresh = static_cast<Slot*>(piece);
        state.end = state.fresh + CRecordSlabs::kPieceBytes / sizeof(Slot);
    }
};
