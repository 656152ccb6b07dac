// Storage for a table that grows without writing its entries, so that its pages are first touched (and
// faulted in) by whatever fills it, which may be cancelled, and written only once.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <type_traits>

namespace zeta_math {

template <typename Entry>
class Raw_Buffer {
    static_assert(std::is_trivially_default_constructible_v<Entry>);

public:
    // Room for entries 0 ... entries − 1, keeping the ones there were.
    Entry* reserve(size_t entries) {
        if (entries > capacity_) {
            std::unique_ptr<Entry[]> larger(new Entry[entries]);  // not written
            if (capacity_ > 0) std::copy(entries_.get(), entries_.get() + capacity_, larger.get());
            entries_ = std::move(larger);
            capacity_ = entries;
        }
        return entries_.get();
    }

    Entry* data() { return entries_.get(); }
    const Entry* data() const { return entries_.get(); }
    size_t capacity() const { return capacity_; }

private:
    std::unique_ptr<Entry[]> entries_;
    size_t capacity_ = 0;
};

}  // namespace zeta_math
