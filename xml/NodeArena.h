#pragma once
// The memory in which a document keeps the nodes that the parser reads and the
// node lists that hold them: large blocks carved from the front, so that a
// load makes no heap allocation per node and a freed tree costs no heap work
// per node. Memory given back goes to a free list of its size and is used
// again; the blocks themselves go back when the arena is reset or freed.
//
// Blocks are aligned to their size and begin with a header naming their arena,
// so that the arena of any piece of its memory is found from the address.
// An arena whose document is gone while some of its memory is still in use
// (a node taken out of the tree and kept) lives on until that is given back.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace xml {

class TXmlDocument;

class TxNodeArena {
public:
    static constexpr std::size_t kBlockSize = std::size_t(2) << 20;
    // Pieces are multiples of 8 bytes up to this size; larger ones are not served.
    static constexpr std::size_t kLargestPiece = 512;

    // The arena of a document: every node in it belongs to that document.
    explicit TxNodeArena(TXmlDocument* owner) noexcept : owner_(owner) {}
    TXmlDocument* Owner() const noexcept { return owner_; }
    TxNodeArena(const TxNodeArena&) = delete;
    TxNodeArena& operator=(const TxNodeArena&) = delete;
    ~TxNodeArena();

    // bytes: a multiple of 8 from 8 to kLargestPiece.
    void* Allocate(std::size_t bytes)
    {
        // Carved from the front of the block, without a call; a piece given
        // back is used first. Under the address checker every piece takes the
        // long way, which unpoisons it.
        if (!kChecked && free_[bytes / 8] == nullptr && static_cast<std::size_t>(end_ - next_) >= bytes) {
            ++live_;
            void* piece = next_;
            next_ += bytes;
            return piece;
        }
        return AllocateSlow(bytes);
    }
    // Gives back a piece of the arena that owns it.
    static void Release(void* piece, std::size_t bytes) noexcept;
    // The arena that holds piece, which must come from an arena.
    static TxNodeArena* Of(const void* piece) noexcept
    {
        const auto block = reinterpret_cast<std::uintptr_t>(piece) & ~(kBlockSize - 1);
        return reinterpret_cast<const BlockHeader*>(block)->arena;
    }

    // Pieces given out and not given back.
    std::size_t Live() const noexcept { return live_; }
    // Returns every block when nothing is in use; false (and nothing done) otherwise.
    bool Reset() noexcept;
    // The owner lets go: the arena is freed now when nothing is in use, else
    // when the last piece comes back.
    void Detach() noexcept;

private:
    struct BlockHeader {
        TxNodeArena* arena;
        std::uint64_t reserved;
    };
    struct FreePiece {
        FreePiece* next;
    };
    static constexpr std::size_t kClasses = kLargestPiece / 8 + 1;

    void* AllocateSlow(std::size_t bytes);
    void* Refill(std::size_t bytes);

#if defined(__SANITIZE_ADDRESS__)
    static constexpr bool kChecked = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    static constexpr bool kChecked = true;
#else
    static constexpr bool kChecked = false;
#endif
#else
    static constexpr bool kChecked = false;
#endif

    TXmlDocument* owner_;
    char* next_ = nullptr;
    char* end_ = nullptr;
    std::vector<void*> blocks_;
    FreePiece* free_[kClasses] = {};
    std::size_t live_ = 0;
    bool detached_ = false;
};

} // namespace xml
