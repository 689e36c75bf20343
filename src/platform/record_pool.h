// Memory for records of one kind that a load makes by the hundred thousand
// (a copper side's strokes and pads). Each is its own heap block otherwise,
// with the allocator's bookkeeping beside it and its search for room on
// every one; here they are cut from large slabs and a freed record's room is
// reused by the next. Slabs stay with the program once taken, so the next
// load finds them ready. Records are made and freed on the program's one
// thread. Under the address sanitizer every record is its own block again,
// so a use after free is still caught.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

template <class Record>
class CRecordPool {
public:
    static void* Allocate(std::size_t size)
    {
        if (!kPooled || size != sizeof(Record))
            return ::operator new(size);
        State& state = TheState();
        if (!state.free)
            AddSlab(state);
        Slot* slot = state.free;
        state.free = slot->next;
        return slot;
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
    static constexpr std::size_t kSlotsPerSlab = 4096;

    struct State {
        Slot* free = nullptr;
        std::vector<std::unique_ptr<Slot[]>> slabs;
    };
    // Never destroyed: records freed by static destructors at exit still
    // find their pool.
    static State& TheState()
    {
        static State* state = new State;
        return *state;
    }

    static void AddSlab(State& state)
    {
        state.slabs.push_back(std::make_unique_for_overwrite<Slot[]>(kSlotsPerSlab));
        Slot* slab = state.slabs.back().get();
        for (std::size_t i = kSlotsPerSlab; i-- > 0;) {
            slab[i].next = state.free;
            state.free = &slab[i];
        }
    }
};
