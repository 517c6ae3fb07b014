#pragma once

#include <string>
#include <string_view>

namespace tessaly {

// ";" followed by 75 "=": the rule line of every generated file.
inline constexpr std::string_view kRuleLine =
    ";===========================================================================";
static_assert(kRuleLine.size() == 76);

// Builds a generated file: every line ends with CR LF, bytes are copied unchanged.
class InfText {
public:
    InfText& Line(std::string_view text = {}) {
        text_.append(text);
        text_.append("\r\n");
        return *this;
    }
    InfText& Rule() { return Line(kRuleLine); }
    // A line made of several pieces.
    template <typename... Pieces>
    InfText& Join(const Pieces&... pieces) {
        (text_.append(std::string_view(pieces)), ...);
        text_.append("\r\n");
        return *this;
    }
    const std::string& str() const { return text_; }

private:
    std::string text_;
};

}  // namespace tessaly
