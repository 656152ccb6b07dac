// The edit control's text messages: WM_SETTEXT, WM_GETTEXT, WM_GETTEXTLENGTH, EM_GETLINE's buffer protocol,
// EM_SETSEL and EM_GETSEL, the text limit and bytes that are not plain text.
#include <cstring>
#include <string>
#include <vector>

#include "control_test_window.h"

namespace controls_test {
namespace {

constexpr char canary = '\x5a';

class Edit_Message_Test : public Control_Test {
protected:
    void SetUp() override {
        Control_Test::SetUp();
        edit_ = create_edit(200, 30, 100, 30);
    }

    // EM_GETLINE into a buffer of `size` characters followed by canary bytes; the buffer's first WORD holds
    // the size, as the protocol asks. Returns the result; `buffer` receives everything, canaries included.
    LRESULT get_line(WORD size, std::vector<char>& buffer) const {
        buffer.assign(std::max<std::size_t>(size, sizeof(WORD)) + 8, canary);
        std::memcpy(buffer.data(), &size, sizeof size);
        return SendMessageA(edit_, EM_GETLINE, 0, reinterpret_cast<LPARAM>(buffer.data()));
    }

    HWND edit_ = nullptr;
};

TEST_F(Edit_Message_Test, GetLineCopiesAtMostTheBufferSizeWithoutTerminator) {
    set_text(edit_, "5.000000");
    std::vector<char> buffer;

    EXPECT_EQ(get_line(999, buffer), 8);
    EXPECT_EQ(std::string(buffer.data(), 8), "5.000000");
    EXPECT_EQ(buffer[8], canary) << "a terminating zero was written";

    EXPECT_EQ(get_line(10, buffer), 8);
    EXPECT_EQ(std::string(buffer.data(), 8), "5.000000");
    EXPECT_EQ(buffer[8], canary);

    EXPECT_EQ(get_line(1, buffer), 1);
    EXPECT_EQ(buffer[0], '5');
    EXPECT_EQ(buffer[2], canary);
}

TEST_F(Edit_Message_Test, GetLineWithSizeZeroCopiesNothing) {
    set_text(edit_, "100");
    std::vector<char> buffer;
    EXPECT_EQ(get_line(0, buffer), 0);
    EXPECT_EQ(buffer[0], 0);  // the size word stays
    EXPECT_EQ(buffer[1], 0);
    EXPECT_EQ(buffer[2], canary);
}

TEST_F(Edit_Message_Test, GetLineStopsAtTheBufferEndForLongText) {
    std::string long_text(1500, '4');
    set_text(edit_, long_text.c_str());
    std::vector<char> buffer;
    EXPECT_EQ(get_line(999, buffer), 999);
    EXPECT_EQ(std::string(buffer.data(), 999), std::string(999, '4'));
    for (std::size_t i = 999; i < buffer.size(); ++i)
        ASSERT_EQ(buffer[i], canary) << "written past the buffer at " << i;
}

TEST_F(Edit_Message_Test, SetTextReplacesTextAndNullClears) {
    set_text(edit_, "-5.000000");
    EXPECT_EQ(text_of(edit_), "-5.000000");
    EXPECT_EQ(SendMessageA(edit_, WM_GETTEXTLENGTH, 0, 0), 9);
    set_text(edit_, "0.1");
    EXPECT_EQ(text_of(edit_), "0.1");
    EXPECT_EQ(SendMessageA(edit_, WM_SETTEXT, 0, 0), TRUE);
    EXPECT_EQ(text_of(edit_), "");
    EXPECT_EQ(SendMessageA(edit_, WM_GETTEXTLENGTH, 0, 0), 0);
}

TEST_F(Edit_Message_Test, SetTextIsNotCutAtTheLimit) {
    // Win32: the limit holds typing back; text set by the program is kept whole.
    std::string long_text(40000, 'x');
    set_text(edit_, long_text.c_str());
    EXPECT_EQ(SendMessageA(edit_, WM_GETTEXTLENGTH, 0, 0), 40000);
    SendMessageA(edit_, EM_SETLIMITTEXT, 3, 0);
    set_text(edit_, "abcdef");
    EXPECT_EQ(SendMessageA(edit_, WM_GETTEXTLENGTH, 0, 0), 6);
}

TEST_F(Edit_Message_Test, GetTextCopiesCountMinusOneAndTerminates) {
    set_text(edit_, "hello");
    char buffer[8];
    std::memset(buffer, canary, sizeof buffer);
    EXPECT_EQ(SendMessageA(edit_, WM_GETTEXT, 4, reinterpret_cast<LPARAM>(buffer)), 3);
    EXPECT_STREQ(buffer, "hel");
    EXPECT_EQ(buffer[4], canary);
    EXPECT_EQ(SendMessageA(edit_, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_EQ(buffer[0], 'h');
    EXPECT_EQ(SendMessageA(edit_, WM_GETTEXT, 1, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_EQ(buffer[0], '\0');
}

TEST_F(Edit_Message_Test, SetSelAndGetSel) {
    set_text(edit_, "abcdef");
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(edit_, EM_SETSEL, 1, 4);
    EXPECT_EQ(
        SendMessageA(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end)),
        MAKELONG(1, 4));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 4u);

    SendMessageA(edit_, EM_SETSEL, 0, -1);  // everything
    EXPECT_EQ(SendMessageA(edit_, EM_GETSEL, 0, 0), MAKELONG(0, 6));
    SendMessageA(edit_, EM_SETSEL, static_cast<WPARAM>(-1), 0);  // no selection
    SendMessageA(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, end);
    SendMessageA(edit_, EM_SETSEL, 2, 100);  // clamped to the text
    EXPECT_EQ(SendMessageA(edit_, EM_GETSEL, 0, 0), MAKELONG(2, 6));
    SendMessageA(edit_, EM_SETSEL, 5, 1);  // backwards
    EXPECT_EQ(SendMessageA(edit_, EM_GETSEL, 0, 0), MAKELONG(1, 5));
}

TEST_F(Edit_Message_Test, SetTextPutsTheCaretAtTheStart) {
    set_text(edit_, "abc");
    SendMessageA(edit_, EM_SETSEL, 1, 3);
    set_text(edit_, "wxyz");
    EXPECT_EQ(SendMessageA(edit_, EM_GETSEL, 0, 0), MAKELONG(0, 0));
    SendMessageA(edit_, WM_CHAR, '!', 0);
    EXPECT_EQ(text_of(edit_), "!wxyz");
}

TEST_F(Edit_Message_Test, LimitTextBoundsTyping) {
    SendMessageA(edit_, EM_LIMITTEXT, 3, 0);
    for (char c : std::string("12345"))
        SendMessageA(edit_, WM_CHAR, static_cast<unsigned char>(c), 0);
    EXPECT_EQ(text_of(edit_), "123");
}

TEST_F(Edit_Message_Test, ControlAndHighBytesAreStoredAndDrawnWithoutHarm) {
    const char hostile[] = "\x01\x02\r\n\t\x1b\x7f\x80\x9f\xa0\xe9\xff%s%n&&&";
    set_text(edit_, hostile);
    EXPECT_EQ(text_of(edit_), hostile);
    std::vector<char> buffer;
    EXPECT_EQ(get_line(999, buffer), static_cast<LRESULT>(std::strlen(hostile)));
    EXPECT_EQ(std::string(buffer.data(), std::strlen(hostile)), hostile);

    SendMessageA(edit_, EM_SETSEL, 0, -1);
    SetFocus(edit_);
    pump();
    SendMessageA(edit_, WM_CHAR, 0xe9, 0);  // replaces the selection with one byte above 127
    EXPECT_EQ(text_of(edit_), "\xe9");
    SendMessageA(edit_, WM_CHAR, 0x20ac, 0);  // a character outside the code page
    EXPECT_EQ(text_of(edit_), "\xe9?");
}

}  // namespace
}  // namespace controls_test
