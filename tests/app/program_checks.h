// What must hold after any input the user can give: the program still answers, its main window lists the
// viewer and the background exactly once and at most one menu, at most one calculation runs and no GDI object
// is left over from a paint.
#pragma once

#include <gtest/gtest.h>

#include <chrono>

#include "app/application.h"
#include "screen_objects/on_screen_object.h"
#include "tests/support/sanitizer_scale.h"

namespace app_test {

struct Program_Baseline {
    int gdi_objects = 0;
    int threads = 0;  // with no calculation running
    On_Screen_Object* background = nullptr;
};

// Only a guard against hangs: every step measured against it takes a second or two on an idle machine, but a
// loaded one (or a sanitizer) can make it many times slower.
constexpr double hang_guard_seconds = scaled(30, 120);

template <class Action>
double seconds_taken(Action&& action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Threads of this process, as the kernel counts them.
int thread_count();

// Call when no calculation runs and every paint is done.
Program_Baseline take_baseline(Application& app);

// Call when every paint is done (after pumping).
::testing::AssertionResult program_is_sane(Application& app, const Program_Baseline& baseline);

}  // namespace app_test
