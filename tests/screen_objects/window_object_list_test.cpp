#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screen_objects/object_registry.h"
#include "screen_objects/window_object_list.h"
#include "tests/screen_objects/object_test_window.h"
#include "tests/support/message_pump.h"

namespace {

using Log = std::vector<std::string>;

constexpr RECT Everywhere{0, 0, 10000, 10000};

class Object_List_Test : public ::testing::Test {
protected:
    Object_List_Test() {
        registry.add_window_record(window.handle);
        list = registry.find_record(window.handle);
        log.clear();
    }

    Log log;
    Object_Registry registry;
    Object_Test_Window window{registry, &log};
    Window_Object_List* list = nullptr;
};

TEST_F(Object_List_Test, HitObjectGetsTheEventFirstThenEveryOtherActiveOneOnce) {
    Recording_Object a("A", log), b("B", log, {0, 0, 50, 50}), c("C", log, {0, 0, 50, 50}), d("D", log);
    a.active = b.active = d.active = 1;
    for (On_Screen_Object* object : {&a, &b, &c, &d})
        list->add_object(object);

    list->dispatch_event(Event_Left_Button_Up, 10, 10);

    EXPECT_EQ(log, (Log{"B 5", "A 5", "D 5"}));
}

TEST_F(Object_List_Test, AddedChildGoesToTheFrontIsPaintedLastAndHitFirst) {
    Recording_Object parent("P", log, {0, 0, 100, 100}), child("C", log, {10, 10, 20, 20}),
        back("G", log, Everywhere);
    parent.child = &child;
    parent.answers = {Action_Add_Child};
    list->add_object(&parent);
    list->add_object(&back);

    list->dispatch_event(Event_Right_Button_Up, 15, 15);
    EXPECT_EQ(log, (Log{"P 3", "paint", "erase", "draw G", "draw P", "draw C"}));
    EXPECT_EQ(list->objects, (std::vector<On_Screen_Object*>{&child, &parent, &back}));
    EXPECT_EQ(child.window, window.handle);

    log.clear();
    list->dispatch_event(Event_Left_Button_Up, 15, 15);
    EXPECT_EQ(log, (Log{"C 5"}));
}

TEST_F(Object_List_Test, RemovalTellsTheOwnerAndCarriesOutItsAnswerInTheSameCall) {
    Recording_Object owner("O", log, {0, 0, 100, 100}), menu("M", log, {200, 200, 250, 250}),
        front("Z", log, {0, 0, 5, 5});
    menu.active = 1;
    menu.owner = &owner;
    menu.answers = {Action_Remove};
    owner.answers = {Action_None, Action_Raise};
    for (On_Screen_Object* object : {&menu, &front, &owner})
        list->add_object(object);

    list->dispatch_event(Event_Left_Button_Up, 30, 40);

    EXPECT_EQ(log, (Log{"O 5", "M 5", "O 6 (30,40)", "paint", "erase", "draw O", "draw Z", "paint", "erase",
                        "draw Z", "draw O"}));
    EXPECT_EQ(list->objects, (std::vector<On_Screen_Object*>{&owner, &front}));
    EXPECT_TRUE(list->actions.empty());
}

TEST_F(Object_List_Test, RemovedObjectWithoutOwnerJustLeaves) {
    Recording_Object back("G", log, Everywhere), menu("M", log);
    menu.active = 1;
    menu.answers = {Action_Remove};
    list->add_object(&menu);
    list->add_object(&back);

    list->dispatch_event(Event_Mouse_Move, 1, 2);

    EXPECT_EQ(log, (Log{"G 1", "M 1", "paint", "erase", "draw G"}));
    EXPECT_EQ(list->objects, (std::vector<On_Screen_Object*>{&back}));
}

TEST_F(Object_List_Test, OnlyCodesTwoToFiveRedrawAndEachRedrawsOnceAtOnce) {
    Recording_Object front("A", log, Everywhere), back("B", log);
    list->add_object(&front);
    list->add_object(&back);

    for (std::int32_t ignored : {0, 1, 6, -7})
        list->push_action(ignored, &front);
    list->process_actions(0, 0);
    EXPECT_TRUE(log.empty());

    list->push_action(Action_Redraw, &front);
    list->push_action(Action_Raise, &front);
    list->process_actions(0, 0);
    const Log one_paint{"paint", "erase", "draw B", "draw A"};
    Log two_paints = one_paint;
    two_paints.insert(two_paints.end(), one_paint.begin(), one_paint.end());
    EXPECT_EQ(log, two_paints);
    RECT client{};
    GetClientRect(window.handle, &client);
    EXPECT_EQ(window.last_paint_rect.right, client.right);
    EXPECT_EQ(window.last_paint_rect.bottom, client.bottom);
    EXPECT_EQ(list->objects, (std::vector<On_Screen_Object*>{&front, &back}));

    log.clear();
    list->push_action(Action_Raise, &back);
    list->process_actions(0, 0);
    EXPECT_EQ(log, (Log{"paint", "erase", "draw A", "draw B"}));
}

TEST_F(Object_List_Test, AddAndRemoveKeepOrderAndRefuseWhatTheyCannotDo) {
    Recording_Object a("A", log), b("B", log), c("C", log);
    EXPECT_FALSE(list->add_object(nullptr));
    for (On_Screen_Object* object : {&a, &b, &c})
        EXPECT_TRUE(list->add_object(object));
    a.window = nullptr;
    EXPECT_TRUE(list->add_object(&a));
    EXPECT_EQ(a.window, nullptr);  // a second add leaves the object alone
    EXPECT_TRUE(list->remove_object(&b));
    EXPECT_FALSE(list->remove_object(&b));
    EXPECT_EQ(list->objects, (std::vector<On_Screen_Object*>{&a, &c}));
}

TEST(Object_Registry_Test, RegisteredObjectsJoinTheMainWindowBehindTheEarlierOnes) {
    Log log;
    Object_Registry registry;
    Object_Test_Window window(registry, &log);
    Recording_Object a("A", log, Everywhere), b("B", log, Everywhere);
    registry.main_window = window.handle;
    log.clear();

    EXPECT_TRUE(registry.register_object(&a));
    EXPECT_TRUE(registry.register_object(&b));

    EXPECT_EQ(registry.records.size(), 1u);
    EXPECT_EQ(log, (Log{"paint", "erase", "draw A", "paint", "erase", "draw B", "draw A"}));
    log.clear();
    registry.dispatch_window_event(window.handle, Event_Right_Button_Down, 3, 4);
    EXPECT_EQ(log, (Log{"A 2"}));

    log.clear();
    HWND unknown = reinterpret_cast<HWND>(&log);
    HDC no_dc = nullptr;
    registry.dispatch_window_event(unknown, Event_Right_Button_Down, 3, 4);
    registry.paint_window_objects(unknown, &no_dc);
    EXPECT_TRUE(log.empty());
}

// Records added while a list is dispatching must leave that list where it is.
class Record_Adding_Object final : public On_Screen_Object {
public:
    explicit Record_Adding_Object(Object_Registry& target) : registry(target) {}
    void update_cursor(std::int32_t, std::int32_t) override {}
    void draw(HDC*) override {}
    bool hit_test(std::int32_t, std::int32_t) override { return true; }
    std::int32_t handle_event(std::int32_t, std::int32_t, std::int32_t) override {
        for (std::intptr_t i = 1; i <= 200; ++i)
            registry.add_window_record(reinterpret_cast<HWND>(i));
        return Action_Raise;
    }
    Object_Registry& registry;
};

TEST(Object_Registry_Test, ListKeepsWorkingWhileRecordsAreAdded) {
    Log log;
    Object_Registry registry;
    Object_Test_Window window(registry, &log);
    Record_Adding_Object adder(registry);
    Recording_Object front("A", log);
    registry.add_window_record(window.handle);
    registry.find_record(window.handle)->add_object(&front);
    registry.find_record(window.handle)->add_object(&adder);
    log.clear();

    registry.dispatch_window_event(window.handle, Event_Left_Button_Down, 1, 1);

    EXPECT_EQ(registry.find_record(window.handle)->objects, (std::vector<On_Screen_Object*>{&adder, &front}));
    EXPECT_EQ(log, (Log{"paint", "erase", "draw A"}));
}

}  // namespace
