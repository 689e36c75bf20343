// The two kinds of record list the program keeps. An owning list holds each
// record through a unique_ptr: the records never move while they are in it,
// so selections and references may point at them, and clearing the list (or
// destroying the record that holds it) frees every record and every inner
// list with it. A reference list holds raw pointers into owning lists and
// never deletes anything.
#pragma once

#include <memory>
#include <utility>
#include <vector>

template <class T>
using COwnedList = std::vector<std::unique_ptr<T>>;

template <class T>
using CRefList = std::vector<T*>;

// Puts a new record at the head of an owning list and returns it.
template <class T>
T* AddHead(COwnedList<T>& list, std::unique_ptr<T> record)
{
    T* raw = record.get();
    list.insert(list.begin(), std::move(record));
    return raw;
}

// Erases the record at `record` from an owning list, freeing it; false when
// the list does not hold it.
template <class T>
bool EraseOwned(COwnedList<T>& list, const void* record)
{
    for (auto it = list.begin(); it != list.end(); ++it)
        if (it->get() == record) {
            list.erase(it);
            return true;
        }
    return false;
}

// Appends a new record to an owning list and returns it.
template <class T>
T* AddTail(COwnedList<T>& list, std::unique_ptr<T> record)
{
    T* raw = record.get();
    list.push_back(std::move(record));
    return raw;
}
