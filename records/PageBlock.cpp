// Anonymous memory mappings for large texts.
#include "records/PageBlock.h"

#include <sys/mman.h>

#include <new>
#include <utility>

namespace {

constexpr std::size_t kHugePageBytes = 2u * 1024u * 1024u;

}  // namespace

PageBlock::PageBlock(std::size_t bytes) : size(bytes) {
    if (bytes == 0) {
        return;
    }
    void* mapped =
        ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        throw std::bad_alloc();
    }
    if (bytes >= kHugePageBytes) {
        ::madvise(mapped, bytes, MADV_HUGEPAGE);  // a hint: without it the block still works
    }
    data = static_cast<char*>(mapped);
}

PageBlock::~PageBlock() {
    if (data != nullptr) {
        ::munmap(data, size);
    }
}

PageBlock::PageBlock(PageBlock&& other) noexcept
    : data(std::exchange(other.data, nullptr)), size(std::exchange(other.size, 0)) {}

PageBlock& PageBlock::operator=(PageBlock&& other) noexcept {
    if (this != &other) {
        PageBlock old(std::move(*this));
        data = std::exchange(other.data, nullptr);
        size = std::exchange(other.size, 0);
    }
    return *this;
}
