// The result store's memory block.
#include "engine/StoreMemory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <new>

namespace {

// A transparent huge page on x86-64 and most other 64-bit systems.
constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t PageSize() {
    return static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

}  // namespace

StoreMemory::~StoreMemory() {
    Release();
}

void StoreMemory::Map(std::size_t size) {
    Release();
    const std::size_t page = PageSize();
    const std::size_t length = (size + page - 1) / page * page;
    // Room to slide a large block onto a huge-page boundary; the slack is unmapped again.
    const std::size_t alignment = length >= kHugePage ? kHugePage : page;
    const std::size_t mapped = length + alignment - page;
    void* raw = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) {
        throw std::bad_alloc();
    }
    auto* first = static_cast<std::byte*>(raw);
    const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(first);
    const std::size_t head = (alignment - address % alignment) % alignment;
    if (head > 0) {
        munmap(first, head);
    }
    if (mapped - head > length) {
        munmap(first + head + length, mapped - head - length);
    }
    start = first + head;
    bytes = size;
    // Huge pages cut the page faults of writing the block 512-fold; where the kernel has
    // none to give, the block simply stays on small pages.
    madvise(start, length, MADV_HUGEPAGE);
}

void StoreMemory::Release() {
    if (start != nullptr) {
        const std::size_t page = PageSize();
        munmap(start, (bytes + page - 1) / page * page);
        start = nullptr;
        bytes = 0;
    }
}
