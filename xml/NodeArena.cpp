#include "xml/NodeArena.h"

#include <sys/mman.h>

#include <cstdint>
#include <mutex>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define KONVERZE_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KONVERZE_ASAN 1
#endif
#endif

#ifdef KONVERZE_ASAN
#include <sanitizer/asan_interface.h>
#define POISON(p, n) ASAN_POISON_MEMORY_REGION((p), (n))
#define UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION((p), (n))
#else
#define POISON(p, n) ((void)(p), (void)(n))
#define UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace xml {

namespace {

// Blocks come from the system aligned to their size and are kept for the next
// arena when they come back: a document loaded after another one then writes
// to memory that is already mapped. Kept blocks are marked as free for the
// system, which takes their pages only when it runs short.
class BlockPool {
public:
    void* Take(bool large)
    {
        void* block = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!kept_.empty()) {
                block = kept_.back();
                kept_.pop_back();
            }
        }
        if (block == nullptr)
            block = Map();
        // Huge pages for all but an arena's first block: a large document
        // then takes one page fault per block instead of one per 4 KB, and a
        // small one does not hold a huge page.
        madvise(block, TxNodeArena::kBlockSize, large ? MADV_HUGEPAGE : MADV_NOHUGEPAGE);
        return block;
    }

    void Give(void* block)
    {
        POISON(block, TxNodeArena::kBlockSize);
        madvise(block, TxNodeArena::kBlockSize, MADV_FREE);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (kept_.size() < kKeep) {
                kept_.push_back(block);
                return;
            }
        }
        munmap(block, TxNodeArena::kBlockSize);
    }

private:
    static constexpr std::size_t kKeep = 512; // 1 GB of address space

    static void* Map()
    {
        constexpr std::size_t size = TxNodeArena::kBlockSize;
        void* raw = mmap(nullptr, 2 * size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (raw == MAP_FAILED)
            throw std::bad_alloc();
        // Keep the aligned middle, give the rest back.
        const auto start = reinterpret_cast<std::uintptr_t>(raw);
        const std::uintptr_t aligned = (start + size - 1) & ~(size - 1);
        if (aligned > start)
            munmap(raw, aligned - start);
        if (const std::uintptr_t tail = start + 2 * size - (aligned + size))
            munmap(reinterpret_cast<void*>(aligned + size), tail);
        void* block = reinterpret_cast<void*>(aligned);
        POISON(block, size);
        return block;
    }

    std::mutex mutex_;
    std::vector<void*> kept_;
};

BlockPool& Pool()
{
    static BlockPool* pool = new BlockPool; // never freed: arenas may outlive static destruction
    return *pool;
}

} // namespace

TxNodeArena::~TxNodeArena()
{
    for (void* block : blocks_)
        Pool().Give(block);
}

void* TxNodeArena::AllocateSlow(std::size_t bytes)
{
    const std::size_t c = bytes / 8;
    ++live_;
    if (FreePiece* piece = free_[c]) {
        UNPOISON(piece, bytes);
        free_[c] = piece->next;
        return piece;
    }
    if (static_cast<std::size_t>(end_ - next_) < bytes)
        return Refill(bytes);
    void* piece = next_;
    next_ += bytes;
    UNPOISON(piece, bytes);
    return piece;
}

void* TxNodeArena::Refill(std::size_t bytes)
{
    char* block = nullptr;
    try {
        block = static_cast<char*>(Pool().Take(!blocks_.empty()));
        blocks_.push_back(block);
    } catch (...) {
        if (block != nullptr)
            Pool().Give(block);
        --live_;
        throw;
    }
    UNPOISON(block, sizeof(BlockHeader));
    reinterpret_cast<BlockHeader*>(block)->arena = this;
    next_ = block + sizeof(BlockHeader) + bytes;
    end_ = block + kBlockSize;
    UNPOISON(block + sizeof(BlockHeader), bytes);
    return block + sizeof(BlockHeader);
}

void TxNodeArena::Release(void* piece, std::size_t bytes) noexcept
{
    TxNodeArena* arena = Of(piece);
    auto* freed = static_cast<FreePiece*>(piece);
    freed->next = arena->free_[bytes / 8];
    arena->free_[bytes / 8] = freed;
    POISON(piece, bytes);
    if (--arena->live_ == 0 && arena->detached_)
        delete arena;
}

bool TxNodeArena::Reset() noexcept
{
    if (live_ != 0)
        return false;
    for (void* block : blocks_)
        Pool().Give(block);
    blocks_.clear();
    for (FreePiece*& list : free_)
        list = nullptr;
    next_ = end_ = nullptr;
    return true;
}

void TxNodeArena::Detach() noexcept
{
    if (live_ == 0)
        delete this;
    else
        detached_ = true;
}

} // namespace xml
