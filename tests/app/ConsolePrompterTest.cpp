#include <gtest/gtest.h>

#include <sstream>

#include "app/ConsolePrompter.h"

namespace tessaly {
namespace {

// A terminal reads UTF-8: a message that is UTF-8 (a path) goes out as it is, anything else is
// Latin-1 text (a value) and goes out in its UTF-8 form.
TEST(ConsolePrompterTest, MessagesReachTheTerminalAsUtf8) {
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {
        {"plain", "plain"},
        {"/home/caf\xC3\xA9/x \xE2\x82\xAC \xF0\x9F\x98\x80",
         "/home/caf\xC3\xA9/x \xE2\x82\xAC \xF0\x9F\x98\x80"},
        {"caf\xE9", "caf\xC3\xA9"},
        {"\xC0\xAF", "\xC3\x80\xC2\xAF"},                          // an overlong form is no UTF-8
        {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80"},              // nor is a surrogate
        {"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80"},  // nor a code point past U+10FFFF
        {"ab\xE2\x82", "ab\xC3\xA2\xC2\x82"},                      // nor a cut sequence
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        ConsolePrompter prompter(out);
        prompter.ShowMessage(c.message, MessageIcon::None);
        EXPECT_EQ(out.str(), std::string("Tessaly Wizard: ") + c.shown + "\n") << c.message;
    }
}

}  // namespace
}  // namespace tessaly
