#include "zeta/math/accurate_plot.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <mutex>

#include "zeta/math/accurate_zeta.h"
#include "zeta/math/chi.h"
#include "zeta/math/column_powers.h"
#include "zeta/math/double_double.h"
#include "zeta/math/power_sum_kernel.h"
#include "zeta/math/row_phases.h"
#include "zeta/math/saddle_point.h"

namespace zeta_math {

namespace {

using Complex_Double = std::complex<double>;

constexpr int32_t panel_terms = 64;                       // n per panel
constexpr int32_t node_terms = 2 * saddle_node_count;     // k of the nodes' panel
constexpr int64_t chain_table_bytes = int64_t{32} << 20;  // chain seeds of one block, at most
constexpr int64_t most_block_chains = 16;
constexpr int blocks_per_worker = 2;  // a slow worker holds up one block at most

bool cancelled(const std::atomic<bool>* cancel) {
    return cancel != nullptr && cancel->load(std::memory_order_relaxed);
}

bool saddle_row(double t) {
    const double height = std::fabs(t);
    return height >= saddle_height && height <= accurate_height_limit;
}

// The rows of one block and what it reports.
struct Block_Work {
    int32_t first = 0;
    int32_t rows = 0;
    Complex* values = nullptr;
    const std::atomic<bool>* cancel = nullptr;
    std::atomic<int64_t>* cells_done = nullptr;
    int64_t saddle_cells = 0;  // cells of the rows summed as a matrix product
    int64_t reported = 0;      // of those, added to cells_done so far

    void add_cells(int64_t cells) const {
        if (cells_done && cells > 0) cells_done->fetch_add(cells, std::memory_order_relaxed);
    }
};

// A group of up to tile_b_columns saddle rows of a block with the same N, the B columns of one tile.
struct Group {
    int32_t terms = 0;
    double centre = 0.0;
    int32_t rows = 0;
    int32_t row_index[tile_b_columns];  // rows of the block, by lane
    Saddle_Row saddle[tile_b_columns];
};

// The nodes of one centre and the A panel of their powers (Column_Powers::fill_nodes).
struct Node_Panel {
    Saddle_Nodes nodes;
    std::vector<double> a;
    uint64_t last_use = 0;
};

// What a worker keeps from one plot to the next, since fresh pages cost a fault each: the chains' tables
// and the panels. Kept for later plots up to spare_bytes in all.
struct Worker_Storage {
    Row_Phases phases;
    std::vector<double> a_panel;
    std::vector<double> b_panel;
    std::vector<double> node_b;
    std::vector<double> sums;
    std::vector<Group> groups;
    std::vector<std::unique_ptr<Node_Panel>> node_panels;  // of this plot's columns, once a centre is set
    std::vector<Complex> values;                           // of the block

    size_t bytes() const {
        size_t node_bytes = 0;
        for (const auto& panel : node_panels)
            node_bytes += sizeof(Node_Panel) + sizeof(double) * panel->a.capacity();
        return phases.bytes() + node_bytes + sizeof(Group) * groups.capacity() +
               sizeof(Complex) * values.capacity() +
               sizeof(double) *
                   (a_panel.capacity() + b_panel.capacity() + node_b.capacity() + sums.capacity());
    }
};

constexpr size_t spare_bytes = size_t{256} << 20;

std::mutex spare_lock;
std::vector<std::unique_ptr<Worker_Storage>> spare_storage;  // guarded by spare_lock

std::unique_ptr<Worker_Storage> take_storage() {
    std::lock_guard guard(spare_lock);
    if (spare_storage.empty()) return std::make_unique<Worker_Storage>();
    std::unique_ptr<Worker_Storage> storage = std::move(spare_storage.back());
    spare_storage.pop_back();
    return storage;
}

void give_back(std::unique_ptr<Worker_Storage> storage) {
    std::lock_guard guard(spare_lock);
    size_t kept = storage->bytes();
    for (const auto& spare : spare_storage)
        kept += spare->bytes();
    if (kept <= spare_bytes) spare_storage.push_back(std::move(storage));
}

}  // namespace

// The rows of A (two per column: n^-σ, then n^(σ−1)) by how many terms they need, longest first, so that
// the kernel stops at the last tile that still needs a panel.
struct Accurate_Zeta_Plot::Row_Layout {
    std::vector<int32_t> lengths;       // of each row: its terms (INT32_MAX: all of them; 0: none)
    std::vector<int32_t> slots;         // the place of each row in the tiles
    std::vector<int32_t> tile_lengths;  // the most terms of a row in each tile, in decreasing order

    Row_Layout(const std::vector<double>& sigmas, double lowest) {
        for (const double sigma : sigmas) {
            const Saddle_Lengths both = saddle_lengths(sigma, lowest);
            lengths.push_back(both.direct);
            lengths.push_back(both.reflected);
        }
        std::vector<int32_t> order(lengths.size());
        for (size_t row = 0; row < order.size(); ++row)
            order[row] = static_cast<int32_t>(row);
        std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
            return lengths[static_cast<size_t>(a)] > lengths[static_cast<size_t>(b)];
        });
        slots.resize(order.size());
        tile_lengths.assign((order.size() + tile_a_rows - 1) / tile_a_rows, 0);
        for (size_t place = 0; place < order.size(); ++place) {
            slots[static_cast<size_t>(order[place])] = static_cast<int32_t>(place);
            int32_t& tile_length = tile_lengths[place / tile_a_rows];
            tile_length = std::max(tile_length, lengths[static_cast<size_t>(order[place])]);
        }
    }
};

struct Accurate_Zeta_Plot::Worker {
    Worker(const std::vector<double>& sigmas, const Row_Layout& rows)
        : layout(rows), powers(sigmas, rows.slots), low_rows(sigmas), storage(take_storage()) {
        for (const auto& panel : storage->node_panels)
            panel->nodes.centre = 0.0;  // computed for another plot's columns
    }
    ~Worker() { give_back(std::move(storage)); }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    const Row_Layout& layout;
    Column_Powers powers;
    Accurate_Zeta_Rows low_rows;
    std::unique_ptr<Worker_Storage> storage;
    std::vector<const double*> node_a;  // the node panel of each group
    uint64_t blocks_done = 0;

    // Rows below the saddle height or past the limit go through low_rows one at a time; the others into
    // groups of equal N, in order, with their rows for Row_Phases.
    bool sort_rows(const std::vector<double>& heights, Block_Work& work) {
        Worker_Storage& space = *storage;
        space.groups.clear();
        std::vector<Row_Phases::Row> phase_rows;
        const size_t width = low_rows.columns();
        for (int32_t i = 0; i < work.rows; ++i) {
            const size_t y = static_cast<size_t>(work.first + i);
            const double t = heights[y];
            if (!saddle_row(t)) {
                if (!low_rows.evaluate(t, work.values + static_cast<size_t>(i) * width, work.cancel))
                    return false;
                work.add_cells(static_cast<int64_t>(width));
                continue;
            }
            const int32_t terms = saddle_terms(std::fabs(t));
            if (space.groups.empty() || space.groups.back().rows == tile_b_columns ||
                space.groups.back().terms != terms) {
                space.groups.emplace_back();
                space.groups.back().terms = terms;
                space.groups.back().centre = static_cast<double>(terms) + 0.5;
            }
            Group& group = space.groups.back();
            Row_Phases::Row row;
            row.t = std::fabs(t);
            row.terms = terms;
            row.follows =
                !phase_rows.empty() && y > 0 && continues_chain(heights[y - 1], t, static_cast<int64_t>(y));
            row.group = static_cast<int32_t>(space.groups.size() - 1);
            row.lane = group.rows;
            phase_rows.push_back(row);
            group.row_index[group.rows++] = i;
        }
        return space.groups.empty() || space.phases.start(std::move(phase_rows), work.cancel);
    }

    // What depends on the row alone, and the nodes' panels: A of the nodes' powers per centre, B of F_j.
    bool prepare_rows(const std::vector<double>& heights, Block_Work& work) {
        Worker_Storage& space = *storage;
        const size_t group_count = space.groups.size();
        space.node_b.assign(group_count * node_terms * tile_b_stride, 0.0);
        node_a.resize(group_count);
        for (size_t g = 0; g < group_count; ++g) {
            Group& group = space.groups[g];
            const Node_Panel* panel = node_panel(group.centre, work.cancel);
            if (!panel) return false;
            node_a[g] = panel->a.data();
            for (int32_t lane = 0; lane < group.rows; ++lane) {
                if (cancelled(work.cancel)) return false;
                Saddle_Row& row = group.saddle[lane];
                make_saddle_row(std::fabs(heights[static_cast<size_t>(work.first + group.row_index[lane])]),
                                panel->nodes, row);
                // F_j against the real part of x_j^-σ, i·F_j against its imaginary part.
                double* b = space.node_b.data() + g * node_terms * tile_b_stride + static_cast<size_t>(lane);
                for (size_t j = 0; j < saddle_node_count; ++j) {
                    b[(2 * j) * tile_b_stride] = row.factor_re[j];
                    b[(2 * j) * tile_b_stride + tile_b_columns] = row.factor_im[j];
                    b[(2 * j + 1) * tile_b_stride] = -row.factor_im[j];
                    b[(2 * j + 1) * tile_b_stride + tile_b_columns] = row.factor_re[j];
                }
            }
        }
        return true;
    }

    // The cell sums of every group, panel by panel of n, then the nodes.
    bool sum_cells(Block_Work& work) {
        Worker_Storage& space = *storage;
        const size_t group_count = space.groups.size();
        const size_t tiles = static_cast<size_t>(powers.tiles());
        const Tile_Kernel kernel = plot_kernels(kernel_variant()).tile_sums;
        space.a_panel.resize(tiles * panel_terms * tile_a_rows);
        space.b_panel.resize(group_count * panel_terms * tile_b_stride);  // filled by every panel
        space.sums.resize(tiles * group_count * tile_sum_size);           // started by the first panel
        int32_t most_terms = 0;
        work.saddle_cells = 0;
        for (const Group& group : space.groups) {
            most_terms = std::max(most_terms, group.terms);
            work.saddle_cells += int64_t{group.rows} * static_cast<int64_t>(low_rows.columns());
        }
        const int32_t last = std::min(most_terms, layout.tile_lengths.empty() ? 0 : layout.tile_lengths[0]);
        for (int32_t n = 1; n <= last; n += panel_terms) {
            if (cancelled(work.cancel)) return false;
            const int32_t panel = std::min(panel_terms, last - n + 1);
            powers.fill_panel(n, panel, panel_terms, space.a_panel.data());
            space.phases.fill_panel(n, panel, panel_terms, space.b_panel.data());
            // A group's panel of B stays in the first-level cache while the tiles of A go by.
            for (size_t g = 0; g < group_count; ++g) {
                const double* b = space.b_panel.data() + g * panel_terms * tile_b_stride;
                for (size_t tile = 0; tile < tiles && layout.tile_lengths[tile] >= n; ++tile) {
                    const int32_t terms = std::min(space.groups[g].terms, layout.tile_lengths[tile]);
                    const int32_t k_count = std::clamp(terms - n + 1, 0, panel);
                    if (k_count == 0) continue;
                    kernel(space.a_panel.data() + tile * panel_terms * tile_a_rows, b, k_count,
                           sums_of(g, tile), n == 1);
                }
            }
            const int64_t done = work.saddle_cells * (n + panel - 1) / (last + 1);
            work.add_cells(done - work.reported);
            work.reported = done;
        }
        // The integral goes with the tiles that sum every term.
        for (size_t tile = 0; tile < tiles; ++tile) {
            for (size_t g = 0; g < group_count; ++g) {
                if (layout.tile_lengths[tile] < space.groups[g].terms) continue;
                kernel(node_a[g] + tile * node_terms * tile_a_rows,
                       space.node_b.data() + g * node_terms * tile_b_stride, node_terms, sums_of(g, tile),
                       false);
            }
        }
        return true;
    }

    // The sums of group g against tile `tile` of A.
    double* sums_of(size_t g, size_t tile) const {
        return storage->sums.data() + (g * static_cast<size_t>(powers.tiles()) + tile) * tile_sum_size;
    }

    // ζ = R(s) + χ(s) conj R(1 − conj s), conjugated below the real axis; a negligible R is left out.
    bool finish(const std::vector<double>& sigmas, const std::vector<double>& heights, Block_Work& work) {
        const Worker_Storage& space = *storage;
        const size_t group_count = space.groups.size();
        auto sum_of = [&](size_t row, size_t g, int32_t lane) {
            if (layout.lengths[row] == 0) return Complex_Double(0.0, 0.0);
            const size_t place = static_cast<size_t>(layout.slots[row]);
            const double* sum = sums_of(g, place / tile_a_rows) + (place % tile_a_rows) * tile_b_stride +
                                static_cast<size_t>(lane);
            return Complex_Double(sum[0], sum[tile_b_columns]);
        };
        for (size_t g = 0; g < group_count; ++g) {
            const Group& group = space.groups[g];
            for (int32_t lane = 0; lane < group.rows; ++lane) {
                const int32_t i = group.row_index[lane];
                const bool below = std::signbit(heights[static_cast<size_t>(work.first + i)]);
                Complex* out = work.values + static_cast<size_t>(i) * sigmas.size();
                for (size_t column = 0; column < sigmas.size(); ++column) {
                    const double sigma = sigmas[column];
                    Complex_Double zeta = sum_of(2 * column, g, lane);
                    if (!std::isfinite(sigma)) {
                        const double nan = std::numeric_limits<double>::quiet_NaN();
                        zeta = sigma > 0.0 ? Complex_Double(1.0, 0.0) : Complex_Double(nan, nan);
                    } else if (layout.lengths[2 * column + 1] != 0) {
                        zeta += chi_high(sigma, group.saddle[lane].chi) *
                                std::conj(sum_of(2 * column + 1, g, lane));
                    }
                    if (below) zeta = std::conj(zeta);
                    out[column] = Complex{zeta.real(), zeta.imag()};
                }
            }
        }
        work.add_cells(work.saddle_cells - work.reported);
        return true;
    }

    // The node panel of `centre`, made when missing in place of one that earlier blocks used.
    Node_Panel* node_panel(double centre, const std::atomic<bool>* cancel) {
        std::vector<std::unique_ptr<Node_Panel>>& panels = storage->node_panels;
        Node_Panel* chosen = nullptr;
        for (const auto& panel : panels) {
            if (panel->nodes.centre == centre) {
                panel->last_use = blocks_done;
                return panel.get();
            }
            if (panel->last_use != blocks_done && (!chosen || panel->last_use < chosen->last_use))
                chosen = panel.get();
        }
        if (!chosen || panels.size() < 2) {
            panels.push_back(std::make_unique<Node_Panel>());
            chosen = panels.back().get();
        }
        chosen->nodes.centre = 0.0;  // incomplete until filled
        chosen->last_use = blocks_done;
        chosen->a.resize(static_cast<size_t>(powers.tiles()) * node_terms * tile_a_rows);
        Saddle_Nodes nodes;
        make_saddle_nodes(centre, nodes);
        if (!powers.fill_nodes(nodes, chosen->a.data(), cancel)) return nullptr;
        chosen->nodes = nodes;
        return chosen;
    }
};

Accurate_Zeta_Plot::Accurate_Zeta_Plot(std::vector<double> sigmas, std::vector<double> heights, int workers)
    : sigmas_(std::move(sigmas)), heights_(std::move(heights)) {
    workers = std::max(workers, 1);
    // Blocks of whole chains: a block's panels of column powers serve all its rows, so blocks are as tall
    // as sharing the chains evenly among the workers (blocks_per_worker each) allows, and as their chains'
    // tables fit in chain_table_bytes.
    int64_t terms = 1;
    double lowest = accurate_height_limit;
    for (const double t : heights_) {
        if (!saddle_row(t)) continue;
        terms = std::max<int64_t>(terms, saddle_terms(std::fabs(t)));
        lowest = std::min(lowest, std::fabs(t));
    }
    layout_ = std::make_unique<Row_Layout>(sigmas_, lowest);
    const int64_t chain_bytes = (terms + 1) * static_cast<int64_t>(sizeof(Unit_Complex));
    const int64_t most_chains = std::clamp<int64_t>(chain_table_bytes / chain_bytes, 1, most_block_chains);
    const int64_t rows = static_cast<int64_t>(heights_.size());
    const int64_t chains = (rows + phase_chain_rows - 1) / phase_chain_rows;
    const int64_t blocks = std::min(
        chains, std::max<int64_t>(blocks_per_worker * workers, (chains + most_chains - 1) / most_chains));
    block_starts_.push_back(0);
    for (int64_t block = 1; block <= blocks; ++block)
        block_starts_.push_back(
            static_cast<int32_t>(std::min(rows, block * chains / blocks * phase_chain_rows)));
    workers_.resize(static_cast<size_t>(workers));  // each made by its first block
}

Accurate_Zeta_Plot::~Accurate_Zeta_Plot() = default;

int64_t Accurate_Zeta_Plot::block_count() const {
    return static_cast<int64_t>(block_starts_.size()) - 1;
}

int32_t Accurate_Zeta_Plot::first_row(int64_t block) const {
    return block_starts_[static_cast<size_t>(block)];
}

int32_t Accurate_Zeta_Plot::row_count(int64_t block) const {
    return block_starts_[static_cast<size_t>(block) + 1] - block_starts_[static_cast<size_t>(block)];
}

int32_t Accurate_Zeta_Plot::columns() const {
    return static_cast<int32_t>(sigmas_.size());
}

const Complex* Accurate_Zeta_Plot::evaluate_block(int64_t block, int worker_index,
                                                  const std::atomic<bool>* cancel,
                                                  std::atomic<int64_t>* cells_done) {
    std::unique_ptr<Worker>& slot = workers_[static_cast<size_t>(worker_index)];
    if (!slot) slot = std::make_unique<Worker>(sigmas_, *layout_);
    Worker& worker = *slot;
    ++worker.blocks_done;
    std::vector<Complex>& values = worker.storage->values;
    values.resize(std::max<size_t>(1, static_cast<size_t>(row_count(block)) * sigmas_.size()));  // never null
    Block_Work work{first_row(block), row_count(block), values.data(), cancel, cells_done};
    const bool done = worker.sort_rows(heights_, work) && worker.prepare_rows(heights_, work) &&
                      worker.sum_cells(work) && worker.finish(sigmas_, heights_, work);
    return done ? values.data() : nullptr;
}

}  // namespace zeta_math
