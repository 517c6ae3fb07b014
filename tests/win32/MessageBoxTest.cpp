#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "system/win32/MessageBoxPrompter.h"
#include "system/win32/WindowsApi.h"

namespace tessaly {
namespace {

// What a box showed, read the way a user sees it: caption, text, icon and buttons.
struct Shown {
    std::string text;
    HICON icon = nullptr;
    bool ok = false;
    bool yes = false;
    bool no = false;
};

// Waits on its own thread for the program's box, notes what it shows and presses `button`, as a
// user would. A box that never comes leaves the test to CTest's time-out.
class BoxAnswerer {
public:
    explicit BoxAnswerer(int button) : button_(button) {
        thread_ = ::CreateThread(nullptr, 0, &BoxAnswerer::Run, this, 0, nullptr);
    }
    ~BoxAnswerer() { Join(); }
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    const Shown& Join() {
        if (thread_) {
            ::WaitForSingleObject(thread_, INFINITE);
            ::CloseHandle(thread_);
            thread_ = nullptr;
        }
        return shown_;
    }

private:
    static DWORD WINAPI Run(void* self) {
        static_cast<BoxAnswerer*>(self)->Answer();
        return 0;
    }

    static BOOL CALLBACK ReadChild(HWND child, LPARAM self) {
        Shown& shown = reinterpret_cast<BoxAnswerer*>(self)->shown_;
        char kind[32] = {};
        ::GetClassNameA(child, kind, sizeof kind);
        if (::lstrcmpiA(kind, "Static") != 0) {
            return TRUE;
        }
        if (const auto icon = reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0))) {
            shown.icon = icon;
        } else {
            char text[1024] = {};
            ::GetWindowTextA(child, text, sizeof text);
            shown.text += text;
        }
        return TRUE;
    }

    void Answer() {
        HWND box = nullptr;
        while (!(box = ::FindWindowA("#32770", "Tessaly Wizard"))) {
            ::Sleep(10);
        }
        ::EnumChildWindows(box, &BoxAnswerer::ReadChild, reinterpret_cast<LPARAM>(this));
        shown_.ok = ::GetDlgItem(box, IDOK) != nullptr;
        shown_.yes = ::GetDlgItem(box, IDYES) != nullptr;
        shown_.no = ::GetDlgItem(box, IDNO) != nullptr;
        ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED), 0);
    }

    int button_;
    Shown shown_;
    HANDLE thread_ = nullptr;
};

TEST(MessageBoxPrompterTest, MessagesShowTheirIconAndQuestionsTheirAnswer) {
    const struct {
        MessageIcon icon;  // Question: a yes/no question
        LPCSTR systemIcon;
        int press;
        bool answer;
    } cases[] = {
        {MessageIcon::Stop, IDI_HAND, IDOK, false},
        {MessageIcon::Exclamation, IDI_EXCLAMATION, IDOK, false},
        {MessageIcon::None, nullptr, IDOK, false},
        {MessageIcon::Question, IDI_QUESTION, IDYES, true},
        {MessageIcon::Question, IDI_QUESTION, IDNO, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.press);
        std::ostringstream errors;
        MessageBoxPrompter prompter(errors);
        const std::string text = "Unable to create directory\r\nC:\\caf\xE9";
        BoxAnswerer user(c.press);
        const bool question = c.icon == MessageIcon::Question;
        bool answer = false;
        if (question) {
            answer = prompter.AskYesNo(text);
        } else {
            prompter.ShowMessage(text, c.icon);
        }
        const Shown& shown = user.Join();
        EXPECT_EQ(shown.text, text);
        EXPECT_EQ(shown.icon, c.systemIcon ? ::LoadIconA(nullptr, c.systemIcon) : nullptr);
        EXPECT_EQ(shown.ok, !question);
        EXPECT_EQ(shown.yes && shown.no, question);
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(errors.str(), "");
    }
}

}  // namespace
}  // namespace tessaly
