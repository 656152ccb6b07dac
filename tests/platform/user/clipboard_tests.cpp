// The clipboard and the global memory it takes: text round trips in both text formats, who may open, set,
// read and close it, and the lock counts and failures of global memory.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "platform/win32.h"
#include "tests/support/message_log.h"
#include "tests/support/window_test.h"

#ifndef _WIN32
#include "platform/testing/testing.h"
#endif

using test_support::register_logging_class;

namespace {

HGLOBAL global_copy(const void* data, SIZE_T size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    void* target = GlobalLock(memory);
    if (target == nullptr) return nullptr;
    std::memcpy(target, data, size);
    GlobalUnlock(memory);
    return memory;
}

HGLOBAL global_text(const std::string& text) {
    return global_copy(text.c_str(), text.size() + 1);
}

HGLOBAL global_wide_text(const std::u16string& text) {
    return global_copy(text.c_str(), (text.size() + 1) * sizeof(char16_t));
}

// The clipboard's text in a format, read as a careful program reads it: within the block's size.
std::string read_text(UINT format) {
    HANDLE memory = GetClipboardData(format);
    const auto* bytes = static_cast<const char*>(GlobalLock(memory));
    if (bytes == nullptr) return "(none)";
    std::string text(bytes, strnlen(bytes, GlobalSize(memory)));
    GlobalUnlock(memory);
    return text;
}

std::u16string read_wide_text() {
    HANDLE memory = GetClipboardData(CF_UNICODETEXT);
    const auto* units = static_cast<const char16_t*>(GlobalLock(memory));
    if (units == nullptr) return u"(none)";
    std::u16string text(units, GlobalSize(memory) / sizeof(char16_t));
    GlobalUnlock(memory);
    return text.substr(0, text.find(u'\0'));
}

class Clipboard : public test_support::Headless_Window_Test {
protected:
    void SetUp() override {
        Headless_Window_Test::SetUp();
        ASSERT_NE(register_logging_class("Clip"), 0);
        window = create_top_level("Clip", 0, 0, 100, 100);
        other = create_top_level("Clip", 200, 0, 100, 100);
        ASSERT_NE(window, nullptr);
    }

    void TearDown() override {
        while (CloseClipboard()) {
        }
        Headless_Window_Test::TearDown();
    }

    // Opens, empties, puts the text there as CF_TEXT and closes, as a program copies.
    void copy(const std::string& text) {
        ASSERT_TRUE(OpenClipboard(window));
        ASSERT_TRUE(EmptyClipboard());
        HGLOBAL memory = global_text(text);
        EXPECT_EQ(SetClipboardData(CF_TEXT, memory), memory);
        ASSERT_TRUE(CloseClipboard());
    }

    HWND window = nullptr;
    HWND other = nullptr;
};

TEST_F(Clipboard, TextCopiedIsReadBackInBothTextFormats) {
    copy("s = 0.5 + 14.134725i");
    ASSERT_TRUE(OpenClipboard(other));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_EQ(read_text(CF_TEXT), "s = 0.5 + 14.134725i");
    EXPECT_EQ(read_wide_text(), u"s = 0.5 + 14.134725i");
    EXPECT_TRUE(CloseClipboard());

    // Set again, the new text replaces the old one; emptied, there is none.
    copy("second");
    ASSERT_TRUE(OpenClipboard(window));
    EXPECT_EQ(read_text(CF_TEXT), "second");
    EXPECT_EQ(read_wide_text(), u"second");
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
    EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), nullptr);
    EXPECT_TRUE(CloseClipboard());
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
}

TEST_F(Clipboard, UnicodeTextReadAsAnsiTextKeepsLatinOneAndMarksTheRest) {
    ASSERT_TRUE(OpenClipboard(window));
    ASSERT_TRUE(EmptyClipboard());
    const std::u16string text = u"\u03B6(s) = 0 at \u00BD + 14.13i";  // zeta, one half
    ASSERT_NE(SetClipboardData(CF_UNICODETEXT, global_wide_text(text)), nullptr);
    ASSERT_TRUE(CloseClipboard());

    ASSERT_TRUE(OpenClipboard(window));
    EXPECT_EQ(read_wide_text(), text);
    EXPECT_EQ(read_text(CF_TEXT), "?(s) = 0 at \xBD + 14.13i");
    EXPECT_TRUE(CloseClipboard());
}

TEST_F(Clipboard, NothingButOpeningWorksWhileItIsClosed) {
    copy("kept");
    HGLOBAL memory = global_text("never set");
    EXPECT_FALSE(EmptyClipboard());
    EXPECT_EQ(SetClipboardData(CF_TEXT, memory), nullptr);
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
    EXPECT_FALSE(CloseClipboard());
    EXPECT_EQ(GlobalFree(memory), nullptr) << "still the program's to free";
    ASSERT_TRUE(OpenClipboard(window));
    EXPECT_EQ(read_text(CF_TEXT), "kept");
}

TEST_F(Clipboard, OnlyOneWindowAndThreadHaveItOpen) {
    ASSERT_TRUE(OpenClipboard(window));
    EXPECT_TRUE(OpenClipboard(window)) << "the same window again";
    EXPECT_FALSE(OpenClipboard(other));
    BOOL other_thread_opened = TRUE;
    BOOL other_thread_closed = TRUE;
    BOOL other_thread_emptied = TRUE;
    std::thread([&] {
        other_thread_opened = OpenClipboard(nullptr);
        other_thread_emptied = EmptyClipboard();
        other_thread_closed = CloseClipboard();
    }).join();
    EXPECT_FALSE(other_thread_opened);
    EXPECT_FALSE(other_thread_emptied);
    EXPECT_FALSE(other_thread_closed);
    EXPECT_TRUE(CloseClipboard());
    EXPECT_TRUE(OpenClipboard(other)) << "free again";
    EXPECT_TRUE(CloseClipboard());
}

TEST_F(Clipboard, OpenedWithoutAWindowEmptyingLeavesNoOwnerAndSettingFails) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(EmptyClipboard());
    HGLOBAL memory = global_text("no owner");
    // Win32: "If an application calls OpenClipboard with hwnd set to NULL, EmptyClipboard sets the clipboard
    // owner to NULL; this causes SetClipboardData to fail."
    EXPECT_EQ(SetClipboardData(CF_TEXT, memory), nullptr);
    EXPECT_TRUE(CloseClipboard());
    GlobalFree(memory);
}

TEST_F(Clipboard, GlobalMemoryCountsLocksAndRefusesWhatIsNoBlock) {
    HGLOBAL memory = GlobalAlloc(GHND, 16);
    ASSERT_NE(memory, nullptr);
    EXPECT_GE(GlobalSize(memory), 16u);
    auto* bytes = static_cast<unsigned char*>(GlobalLock(memory));
    ASSERT_NE(bytes, nullptr);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(bytes[i], 0) << "GMEM_ZEROINIT, byte " << i;
    EXPECT_EQ(GlobalLock(memory), bytes) << "the same block, locked twice";
    EXPECT_TRUE(GlobalUnlock(memory)) << "still locked once";
    EXPECT_FALSE(GlobalUnlock(memory)) << "unlocked now";
    EXPECT_EQ(GlobalFree(memory), nullptr);

    HGLOBAL fixed = GlobalAlloc(GMEM_FIXED, 8);
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(GlobalLock(fixed), static_cast<void*>(fixed)) << "a fixed block is its own address";
    EXPECT_EQ(GlobalFree(fixed), nullptr);
}

#ifndef _WIN32  // the display's clipboard belongs to this layer

TEST_F(Clipboard, TextGoesToTheDisplayAsUtf8AndComesFromIt) {
    copy("\xBD at 14.13i");  // Latin-1 one half
    EXPECT_EQ(platform::headless::clipboard(), "\xC2\xBD at 14.13i");

    // Another program copies.
    platform::headless::set_clipboard("\xCE\xB6(1/2 + 14.13i) \xE2\x89\x88 0");  // zeta, almost equal
    ASSERT_TRUE(OpenClipboard(window));
    EXPECT_EQ(read_wide_text(), u"\u03B6(1/2 + 14.13i) \u2248 0");
    EXPECT_EQ(read_text(CF_TEXT), "?(1/2 + 14.13i) ? 0");
    // While it is open, what it holds stays as it is.
    HANDLE held = GetClipboardData(CF_TEXT);
    platform::headless::set_clipboard("later");
    EXPECT_EQ(GetClipboardData(CF_TEXT), held);
    EXPECT_TRUE(CloseClipboard());
    ASSERT_TRUE(OpenClipboard(window));
    EXPECT_EQ(read_text(CF_TEXT), "later");
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_EQ(platform::headless::clipboard(), "");
}

TEST_F(Clipboard, AnOpenerThatIsGoneNoLongerHoldsIt) {
    ASSERT_TRUE(OpenClipboard(window));
    DestroyWindow(window);
    EXPECT_TRUE(OpenClipboard(other));
}

TEST_F(Clipboard, BadHandlesAndSizesFailWithoutHarm) {
    ASSERT_TRUE(OpenClipboard(window));
    int not_a_block = 0;
    EXPECT_EQ(SetClipboardData(CF_TEXT, &not_a_block), nullptr);
    EXPECT_EQ(SetClipboardData(CF_TEXT, nullptr), nullptr) << "delayed rendering is not supported";
    HGLOBAL freed = global_text("freed");
    GlobalFree(freed);
    EXPECT_EQ(SetClipboardData(CF_TEXT, freed), nullptr);
    EXPECT_EQ(GlobalLock(freed), nullptr);
    EXPECT_EQ(GlobalSize(freed), 0u);
    EXPECT_EQ(GlobalFree(freed), freed) << "not a block any more";

    // Text without a terminating zero ends with its block.
    const char unterminated[] = {'a', 'b', 'c'};
    ASSERT_TRUE(EmptyClipboard());
    ASSERT_NE(SetClipboardData(CF_TEXT, global_copy(unterminated, sizeof unterminated)), nullptr);
    EXPECT_EQ(read_wide_text(), u"abc");
    EXPECT_EQ(platform::headless::clipboard(), "abc");
}

#endif

}  // namespace
