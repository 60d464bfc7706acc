// Large scratch memory straight from the kernel, on transparent huge pages where it gives them.
#pragma once

#include <cstddef>

// A writable block of bytes, not zero-filled by the library (the kernel hands out zeroed
// pages anyway). A record file is read into one: on the virtual machines engineers run this
// on a first touch of a 4 KiB page costs some 3 to 10 us, so a 30 MB file read into plain
// heap memory costs more in page faults than in reading; blocks of 2 MiB and more ask for
// huge pages, which take 512 times fewer faults. Move-only; throws std::bad_alloc.
class PageBlock {
  public:
    PageBlock() = default;
    explicit PageBlock(std::size_t bytes);
    ~PageBlock();
    PageBlock(PageBlock&& other) noexcept;
    PageBlock& operator=(PageBlock&& other) noexcept;
    PageBlock(const PageBlock&) = delete;
    PageBlock& operator=(const PageBlock&) = delete;

    char* Data() const { return data; }
    std::size_t Size() const { return size; }

  private:
    char* data = nullptr;
    std::size_t size = 0;
};
