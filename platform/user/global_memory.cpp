// Global memory as Win32 hands it between a program and the clipboard: GMEM_MOVEABLE blocks are reached
// through a handle and GlobalLock, GMEM_FIXED blocks are their own address. Handles are looked up in a table,
// so a freed or made-up handle is refused rather than followed. Any thread may use these.
#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <new>

#include "platform/win32.h"

namespace {

struct Block {
    std::unique_ptr<unsigned char[]> data;
    SIZE_T size = 0;
    bool moveable = false;
    unsigned locks = 0;
};

struct Block_Table {
    std::mutex lock;
    // A moveable block's handle is the address of its Block; a fixed block's is the address of its data.
    std::map<std::uintptr_t, std::unique_ptr<Block>> blocks;
};

Block_Table& block_table() {
    static Block_Table* table = new Block_Table;  // blocks may be freed while the process exits
    return *table;
}

Block* find_block(Block_Table& table, HGLOBAL handle) {
    auto found = table.blocks.find(reinterpret_cast<std::uintptr_t>(handle));
    return found != table.blocks.end() ? found->second.get() : nullptr;
}

}  // namespace

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes) {
    auto block = std::make_unique<Block>();
    block->moveable = (flags & GMEM_MOVEABLE) != 0;
    block->size = bytes;
    // A moveable block of no bytes has no memory (GlobalLock gives null); a fixed one still has an address.
    if (bytes > 0 || !block->moveable) {
        block->data.reset(new (std::nothrow) unsigned char[bytes > 0 ? bytes : 1]);
        if (!block->data) return nullptr;
        if ((flags & GMEM_ZEROINIT) != 0) std::fill_n(block->data.get(), bytes, 0);
    }
    const auto handle = block->moveable ? reinterpret_cast<std::uintptr_t>(block.get())
                                        : reinterpret_cast<std::uintptr_t>(block->data.get());
    Block_Table& table = block_table();
    std::lock_guard guard(table.lock);
    table.blocks[handle] = std::move(block);
    return reinterpret_cast<HGLOBAL>(handle);
}

LPVOID WINAPI GlobalLock(HGLOBAL memory) {
    Block_Table& table = block_table();
    std::lock_guard guard(table.lock);
    Block* block = find_block(table, memory);
    if (block == nullptr || !block->data) return nullptr;
    if (block->moveable) ++block->locks;
    return block->data.get();
}

// Nonzero while a moveable block stays locked; zero once it is unlocked or when it was not locked.
BOOL WINAPI GlobalUnlock(HGLOBAL memory) {
    Block_Table& table = block_table();
    std::lock_guard guard(table.lock);
    Block* block = find_block(table, memory);
    if (block == nullptr) return FALSE;
    if (!block->moveable) return TRUE;
    if (block->locks == 0) return FALSE;
    return --block->locks > 0 ? TRUE : FALSE;
}

SIZE_T WINAPI GlobalSize(HGLOBAL memory) {
    Block_Table& table = block_table();
    std::lock_guard guard(table.lock);
    Block* block = find_block(table, memory);
    return block != nullptr ? block->size : 0;
}

// Null on success; the handle itself when it is no block.
HGLOBAL WINAPI GlobalFree(HGLOBAL memory) {
    Block_Table& table = block_table();
    std::lock_guard guard(table.lock);
    return table.blocks.erase(reinterpret_cast<std::uintptr_t>(memory)) != 0 ? nullptr : memory;
}
