// The result store's memory: one block of anonymous pages per run, on transparent huge
// pages where the kernel gives them, unmapped when the results are cleared so that the
// memory goes back to the system at once.
#pragma once

#include <cstddef>
#include <span>

class StoreMemory {
  public:
    StoreMemory() = default;
    ~StoreMemory();
    StoreMemory(const StoreMemory&) = delete;
    StoreMemory& operator=(const StoreMemory&) = delete;

    // Releases the block held and maps bytes (> 0) of zeroed memory, 64-byte aligned (2 MiB
    // aligned when it is that large, so that huge pages can back all of it). Throws
    // std::bad_alloc when the system refuses.
    void Map(std::size_t bytes);
    // Unmaps the block; nothing is held afterwards.
    void Release();

    std::span<std::byte> Block() const { return {start, bytes}; }

  private:
    std::byte* start = nullptr;
    std::size_t bytes = 0;
};
