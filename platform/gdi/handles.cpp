// The handle table: slots addressed by index, each with a generation that changes when the slot is freed.
// Handle value = generation << 24 | index << 2, so handles are never 0, never small (1..31 are the
// (HBRUSH)(COLOR_xxx + 1) values) and a freed handle never matches its slot again.
#include <new>

#include "platform/gdi/objects.h"
#include "platform/gdi/surface.h"

namespace platform::gdi::detail {
namespace {

constexpr Handle index_bits = 22;
constexpr Handle index_mask = (Handle{1} << index_bits) - 1;
constexpr Handle max_slots = index_mask;  // index 0 is never used

struct Slot {
    Handle generation = 1;
    std::unique_ptr<Object> object;
};

struct Table {
    std::vector<Slot> slots = std::vector<Slot>(1);  // slot 0 unused
    std::vector<Handle> free_list;
    int counted = 0;
};

Table& table() {
    static Table* instance = new Table;  // never destroyed: handles stay valid during static destruction
    return *instance;
}

Handle make_handle(Handle index, Handle generation) {
    return (generation << 24) | (index << 2);
}

Slot* slot_of(Handle handle) {
    if (handle == 0 || (handle & 3) != 0) return nullptr;
    Handle index = (handle >> 2) & index_mask;
    Table& t = table();
    if (index == 0 || index >= t.slots.size()) return nullptr;
    Slot& slot = t.slots[index];
    if (!slot.object || make_handle(index, slot.generation) != handle) return nullptr;
    return &slot;
}

}  // namespace

std::mutex& gdi_mutex() {
    static std::mutex* mutex = new std::mutex;
    return *mutex;
}

Handle insert(std::unique_ptr<Object> object) {
    Table& t = table();
    try {
        Handle index;
        if (!t.free_list.empty()) {
            index = t.free_list.back();
            t.free_list.pop_back();
        } else {
            if (t.slots.size() >= max_slots) return 0;
            t.slots.emplace_back();
            index = t.slots.size() - 1;
        }
        Slot& slot = t.slots[index];
        if (object->counted) ++t.counted;
        slot.object = std::move(object);
        return make_handle(index, slot.generation);
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

Object* find_any(Handle handle) {
    Slot* slot = slot_of(handle);
    return slot ? slot->object.get() : nullptr;
}

void erase(Handle handle) {
    Slot* slot = slot_of(handle);
    if (!slot) return;
    Table& t = table();
    if (slot->object->counted) --t.counted;
    slot->object.reset();
    ++slot->generation;
    Handle index = (handle >> 2) & index_mask;
    try {
        t.free_list.push_back(index);
    } catch (const std::bad_alloc&) {
        // The slot is simply not reused.
    }
}

void release_selection(Handle handle) {
    Object* object = find_any(handle);
    if (!object) return;
    if (object->selections > 0) --object->selections;
    if (object->pending_delete && object->selections == 0) erase(handle);
}

int counted_objects() {
    return table().counted;
}

}  // namespace platform::gdi::detail

namespace platform::gdi {

int live_object_count() {
    detail::Lock lock(detail::gdi_mutex());
    return detail::counted_objects();
}

}  // namespace platform::gdi
