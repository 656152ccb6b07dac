// Random mouse and keyboard input over and around the plot, its frame, its menu and the Options window, with
// the program's invariants checked after every event or small batch of moves. Seeded: ZETA_STORM_SEED picks
// another seed, ZETA_STORM_EVENTS another length.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "app/options_window.h"
#include "platform/testing/testing.h"
#include "screen_objects/object_registry.h"
#include "tests/app/app_fixture.h"
#include "tests/app/program_checks.h"
#include "tests/support/message_pump.h"
#include "tests/support/sanitizer_scale.h"
#include "zeta/math/accurate_zeta.h"

namespace app_test {
namespace {

namespace headless = platform::headless;

constexpr std::uint64_t default_seed = 20240611;
// Precisions up to this are quick enough to wait for.
constexpr int32_t quick_precision = 20;
constexpr int64_t quick_accurate_work = 20'000'000;  // series terms summed in all

std::uint64_t environment_number(const char* name, std::uint64_t fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 0) : fallback;
}

struct Point {
    int x;
    int y;
};

class Event_Storm : public Application_Test {
protected:
    void SetUp() override {
        Application_Test::SetUp();
        viewer().job.settings.precision = 5;
        viewer().restart_calculation();
        finish_calculation();
        baseline_ = take_baseline(app());
    }

    void run(std::uint64_t seed, long event_target) {
        random_.seed(seed);
        while (events_ < event_target && !HasFailure())
            step();
    }

    long events() const { return events_; }

private:
    int below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random_); }
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(random_); }

    RECT client() const {
        RECT area{};
        GetClientRect(main_window(), &area);
        return area;
    }

    bool menu_open() const {
        const Window_Object_List* list = object_registry.find_record(main_window());
        return list != nullptr &&
               std::find(list->objects.begin(), list->objects.end(), &viewer().menu) != list->objects.end();
    }

    // Anywhere in the window or a little beyond its edges, where nothing is delivered.
    Point anywhere() {
        const RECT area = client();
        return {between(-8, area.right + 8), between(-8, area.bottom + 8)};
    }

    // A point of the plot that lies in the window (the frame always overlaps it).
    Point inside_plot() {
        const RECT area = client();
        const int left = std::clamp<int>(app().plot_rect.left, 0, area.right - 1);
        const int right = std::clamp<int>(app().plot_rect.right, 0, area.right - 1);
        const int top = std::clamp<int>(app().plot_rect.top, 0, area.bottom - 1);
        const int bottom = std::clamp<int>(app().plot_rect.bottom, 0, area.bottom - 1);
        return {between(std::min(left, right), std::max(left, right)),
                between(std::min(top, bottom), std::max(top, bottom))};
    }

    // Exactly on an edge line or a corner of the frame, sometimes a pixel off.
    Point on_frame() {
        const RECT& r = app().plot_rect;
        Point p{};
        switch (below(8)) {
            case 0:
                p = {r.left, r.top};
                break;
            case 1:
                p = {r.right, r.top};
                break;
            case 2:
                p = {r.left, r.bottom};
                break;
            case 3:
                p = {r.right, r.bottom};
                break;
            case 4:
                p = {between(r.left, r.right), r.top};
                break;
            case 5:
                p = {between(r.left, r.right), r.bottom};
                break;
            case 6:
                p = {r.left, between(r.top, r.bottom)};
                break;
            default:
                p = {r.right, between(r.top, r.bottom)};
                break;
        }
        if (chance(0.2)) {
            p.x += between(-1, 1);
            p.y += between(-1, 1);
        }
        return p;
    }

    Point on_menu() {
        const RECT& r = viewer().menu.rect;
        return {between(r.left, r.right), between(r.top, r.bottom)};
    }

    // Frame drags mostly stay near the frame, so that it wanders instead of jumping to the window's size.
    Point target() {
        const int kind = below(10);
        if (kind < 3) return on_frame();
        if (kind < 6) return inside_plot();
        if (kind < 8 && menu_open()) return on_menu();
        if (kind < 9) {
            const Point p = on_frame();
            return {p.x + between(-40, 40), p.y + between(-40, 40)};
        }
        return anywhere();
    }

    // Pumps and checks after `count` pushed mouse events (0 after anything else).
    void settle(int count = 1) {
        events_ += count;
        const std::optional<int> quit = test_support::pump_until_idle();
        ASSERT_FALSE(quit.has_value()) << "the program quit at event " << events_;
        ASSERT_TRUE(program_is_sane(app(), baseline_)) << "after event " << events_;
    }

    void move(Point p) {
        headless::mouse_move(main_window(), p.x, p.y);
        settle();
    }
    void press(Point p, int button) {
        headless::mouse_down(main_window(), p.x, p.y, button);
        settle();
    }
    void release(Point p, int button) {
        headless::mouse_up(main_window(), p.x, p.y, button);
        settle();
    }

    // Right click inside the plot, then a left click on entry `index` (or wherever that lands).
    void choose_menu_entry(int index) {
        const Point at = inside_plot();
        press(at, 2);
        release(at, 2);
        const Point entry{at.x + between(0, 200), at.y + index * 17 + between(0, 16)};
        move(entry);
        press(entry, 1);
        release(entry, 1);
    }

    std::string hostile_text() {
        static const std::vector<std::string> texts = {"0",
                                                       "-5",
                                                       "2147483647",
                                                       "-2147483648",
                                                       "1e308",
                                                       "-1e-308",
                                                       "nan",
                                                       "inf",
                                                       "-inf",
                                                       "",
                                                       "1e-320",
                                                       "0x1p-1074",
                                                       "  12abc",
                                                       "-0",
                                                       "99999999999999999999",
                                                       std::string(999, '9'),
                                                       std::string(5000, '7'),
                                                       "\xff\xfe\x80\x81\xc3\xa9",
                                                       "\x01\x02\x7f"};
        return texts[static_cast<std::size_t>(below(static_cast<int>(texts.size())))];
    }

    static void set_text(HWND edit, const std::string& text) {
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }

    // Opens the Options window if needed, fills some fields with hostile text (the precision mostly small, so
    // that the plot keeps computing quickly), types into one, and applies.
    void apply_options() {
        if (!IsWindowVisible(options().window)) choose_menu_entry(menu_index("Options"));
        if (HasFailure() || !IsWindowVisible(options().window)) return;
        headless::click(options().window, 20, 480);  // activates it: the fields show the settings
        settle(2);
        const HWND fields[] = {options().ceiling_edit,    options().floor_edit,
                               options().real_part_edit,  options().imaginary_part_edit,
                               options().real_scale_edit, options().imaginary_scale_edit,
                               options().precision_edit};
        for (HWND field : fields) {
            if (chance(0.4)) set_text(field, hostile_text());
        }
        if (chance(0.3)) {
            const HWND field = fields[below(7)];
            headless::click(field, between(0, 99), between(0, 29));
            settle(2);
            if (chance(0.5)) headless::key_press('A', 2);  // select all
            headless::type_text(chance(0.5) ? "\xc3\xbf-1e9x" : "3.5");
            headless::key_press(VK_BACK);
            settle(0);
        }
        if (chance(0.9)) set_text(options().precision_edit, std::to_string(between(1, quick_precision)));
        headless::click(options().apply_button, between(0, 99), between(0, 39));
        settle(2);
    }

    // "Move window" can leave the frame anywhere, even wholly outside the window, where no pointer reaches it
    // again; put it back somewhere in the window then, so that the storm goes on working it.
    void keep_frame_reachable() {
        const RECT area = client();
        const RECT& r = app().plot_rect;
        if (r.right >= 0 && r.left < area.right && r.bottom >= 0 && r.top < area.bottom) return;
        const int left = between(0, area.right - 4);
        const int top = between(0, area.bottom - 4);
        app().plot_rect = {left, top, between(left + 2, std::min<int>(left + 300, area.right - 1)),
                           between(top + 2, std::min<int>(top + 300, area.bottom - 1))};
    }

    // Pointer wandering with no button held, pumped in small batches: cursor changes over the frame's edges,
    // highlighting in an open menu, the frame following the pointer in "Move window" mode.
    void hover() {
        // With a menu open or the frame following the pointer nearly every move repaints; the user soon
        // clicks then.
        const bool repainting = viewer().active == 1 || menu_open();
        int batch = 0;
        for (int n = repainting ? between(1, 8) : between(20, 160); n > 0 && !HasFailure(); --n) {
            const Point p = target();
            headless::mouse_move(main_window(), p.x, p.y);
            ++batch;
            if (batch == 3 || n == 1) {
                settle(batch);
                batch = 0;
            }
        }
    }

    // A left drag from the frame's edges or corners, or inside the plot, across anything, even out of the
    // window, where the release is lost.
    void drag() {
        // Each repaint draws every cell in the window: a large frame is dragged smaller again by its
        // bottom-right corner.
        const RECT& r = app().plot_rect;
        if ((int64_t{r.right} - r.left) * (int64_t{r.bottom} - r.top) > 120 * 120 && chance(0.5)) {
            press({r.right, r.bottom}, 1);
            const Point corner{r.left + between(2, 120), r.top + between(2, 120)};
            if (!HasFailure()) move(corner);
            if (!HasFailure()) release(corner, 1);
            return;
        }
        Point p = chance(0.5) ? on_frame() : inside_plot();
        press(p, 1);
        for (int n = between(1, 8); n > 0 && !HasFailure(); --n) {
            p = chance(0.1) ? anywhere() : Point{p.x + between(-60, 60), p.y + between(-60, 60)};
            move(p);
        }
        if (!HasFailure()) release(chance(0.1) ? anywhere() : p, 1);
    }

    void right_click() {
        const Point p = chance(0.8) ? inside_plot() : target();
        press(p, 2);
        if (!HasFailure()) release(chance(0.9) ? p : target(), 2);
    }

    // Waiting for the end is only worth it for a quick calculation: few series terms, or accurate values
    // not far up the strip.
    static bool quick_calculation() {
        const Plot_Job& job = viewer().job;
        const Plot_Settings& settings = job.settings;
        if (settings.method == Series_Method)
            return settings.precision <= quick_precision && settings.precision >= -quick_precision;
        const double top = settings.imaginary_part + job.grid.height * settings.imaginary_scale;
        const double height = std::max(std::fabs(settings.imaginary_part), std::fabs(top));
        const double terms = static_cast<double>(Accurate_Zeta_Rows::terms_per_cell(height));
        return static_cast<double>(job.grid.width) * job.grid.height * terms <= quick_accurate_work;
    }

    void step() {
        keep_frame_reachable();
        const int kind = below(1000);
        if (kind < 600) {
            hover();
        } else if (kind < 800) {
            drag();
        } else if (kind < 850) {
            press(target(), chance(0.5) ? 1 : 2);  // a press or release on its own
        } else if (kind < 900) {
            release(target(), chance(0.5) ? 1 : 2);
        } else if (kind < 930) {
            right_click();
        } else if (kind < 965) {
            choose_menu_entry(below(static_cast<int>(viewer().menu_commands().size())));
        } else if (kind < 975) {
            apply_options();
        } else if (kind < 993) {
            if (quick_calculation()) {
                finish_calculation();
                settle(0);
            }
        } else if (kind < 996) {
            headless::request_close(options().window);
            settle(0);
        } else if (kind < 998) {
            press_keys();
        } else {
            resize_main_window();
        }
    }

    // Keys and text for whichever window has the focus.
    void press_keys() {
        static const int keys[] = {VK_BACK,   VK_DELETE, VK_LEFT, VK_RIGHT, VK_HOME, VK_END, VK_RETURN,
                                   VK_ESCAPE, VK_TAB,    'A',     'C',      'V',     'X'};
        headless::key_press(keys[below(13)], static_cast<unsigned>(below(4)));
        headless::type_text(chance(0.5) ? "\xc3\xa9-7e3" : "x");
        settle(0);
    }

    // Now and then down to nothing and back.
    void resize_main_window() {
        if (chance(0.2)) {
            headless::resize(main_window(), below(3), below(3));
            settle(0);
            const Point p = anywhere();
            headless::click(main_window(), p.x, p.y);
            settle(2);
        }
        headless::resize(main_window(), between(760, 1000), between(740, 800));
        settle(0);
    }

    std::mt19937_64 random_;
    Program_Baseline baseline_;
    long events_ = 0;
};

TEST_F(Event_Storm, TheProgramSurvivesRandomInput) {
    const std::uint64_t seed = environment_number("ZETA_STORM_SEED", default_seed);
    const long target = static_cast<long>(environment_number("ZETA_STORM_EVENTS", scaled(200000, 12000)));
    SCOPED_TRACE("ZETA_STORM_SEED=" + std::to_string(seed));
    const auto start = std::chrono::steady_clock::now();
    run(seed, target);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("event storm: %ld events in %.1f s (seed %llu)\n", events(), elapsed.count(),
                static_cast<unsigned long long>(seed));
    EXPECT_GE(events(), target);

    platform::headless::request_close(main_window());
    EXPECT_EQ(test_support::pump_until_idle(), std::optional<int>(0));
    EXPECT_LT(seconds_taken([] { app().finish(); }), hang_guard_seconds);
}

}  // namespace
}  // namespace app_test
