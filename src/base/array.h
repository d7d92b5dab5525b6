// A growable array of plain values; grows by a quarter of its capacity plus 32.
// Byte-level: no windows.h here.
#pragma once
#include <stdlib.h>
#include "base/errorstate.h"

template <typename T>
class Array {
public:
    T* Items = nullptr;
    int Count = 0;
    int Capacity = 0;

    Array() = default;
    Array(const Array&) = delete;
    Array& operator=(const Array&) = delete;
    ~Array() { if (Items) free(Items); }

    void Extend(int n)
    {
        // A count that would pass the largest int cannot be stored: that is no memory.
        if (n > 0x7fffffff - Count) TheErrorState.OutOfMemory();
        Count += n;
        if (Capacity >= Count) return;
        long long wanted = (long long)Capacity + Capacity / 4 + 32;
        if (wanted < Count) wanted = Count;
        void* grown = (wanted > 0x7fffffff / (long long)sizeof(T))
                          ? nullptr
                          : realloc(Items, (size_t)wanted * sizeof(T));
        if (!grown) {
            Count -= n;  // keep Count within Capacity for the destructor's sake
            TheErrorState.OutOfMemory();
        }
        Items = static_cast<T*>(grown);
        Capacity = (int)wanted;
    }

    void Append(T value)
    {
        Extend(1);
        Items[Count - 1] = value;
    }
};
