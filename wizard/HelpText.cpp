#include "wizard/HelpText.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace tessaly {
namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// Plain text of an HTML fragment. Blocks become paragraphs separated by an empty line, list
// items and table rows lines of their own.
class TextBuilder {
public:
    void Word(char c) {
        if (IsSpace(c)) {
            space_ = !text_.empty() && !AtLineStart();
            return;
        }
        if (space_) {
            text_ += ' ';
            space_ = false;
        }
        text_ += c;
    }
    void Text(std::string_view text) {
        for (const char c : text) {
            Word(c);
        }
    }
    void Break(int lines) {
        space_ = false;
        if (text_.empty()) {
            return;
        }
        int have = 0;
        for (std::size_t i = text_.size(); i >= 2 && text_.compare(i - 2, 2, "\r\n") == 0; i -= 2) {
            ++have;
        }
        for (; have < lines; ++have) {
            text_ += "\r\n";
        }
    }
    void Cell() {
        if (!AtLineStart()) {
            text_ += " | ";
        }
        space_ = false;
    }
    bool AtLineStart() const { return text_.empty() || text_.back() == '\n'; }
    std::size_t size() const { return text_.size(); }
    std::string Take() {
        while (text_.size() >= 2 && text_.compare(text_.size() - 2, 2, "\r\n") == 0) {
            text_.resize(text_.size() - 2);
        }
        return std::move(text_);
    }

private:
    std::string text_;
    bool space_ = false;
};

std::string_view TagName(std::string_view tag) {
    std::size_t start = tag.front() == '/' ? 1 : 0;
    std::size_t end = start;
    while (end < tag.size() && std::isalnum(static_cast<unsigned char>(tag[end]))) {
        ++end;
    }
    return tag.substr(start, end - start);
}

// The value of `name="..."` inside a tag, empty when the tag has none.
std::string Attribute(std::string_view tag, std::string_view name) {
    const std::string key = std::string(name) + "=\"";
    const std::size_t at = tag.find(key);
    if (at == std::string_view::npos) {
        return {};
    }
    const std::size_t start = at + key.size();
    const std::size_t end = tag.find('"', start);
    return std::string(tag.substr(start, end == std::string_view::npos ? end : end - start));
}

std::size_t Entity(std::string_view html, std::size_t at, TextBuilder& out) {
    const std::size_t end = html.find(';', at);
    if (end == std::string_view::npos || end - at > 8) {
        out.Word('&');
        return at + 1;
    }
    const std::string_view name = html.substr(at + 1, end - at - 1);
    if (name == "lt") {
        out.Word('<');
    } else if (name == "gt") {
        out.Word('>');
    } else if (name == "amp") {
        out.Word('&');
    } else if (name == "quot") {
        out.Word('"');
    } else if (name == "nbsp") {
        out.Word('\xA0');
    } else if (!name.empty() && name.front() == '#') {
        const long code = std::strtol(std::string(name.substr(1)).c_str(), nullptr, 10);
        out.Word(code > 0 && code < 256 ? static_cast<char>(code) : '?');
    } else {
        out.Text(html.substr(at, end - at + 1));
    }
    return end + 1;
}

}  // namespace

HelpPage ParseHelpPage(std::string_view html) {
    HelpPage page;
    TextBuilder out;
    const std::size_t bodyAt = Lower(html).find("<body");
    std::size_t i = bodyAt == std::string::npos ? 0 : bodyAt;
    bool inHeading = false;

    const std::size_t titleAt = Lower(html).find("<title>");
    if (titleAt != std::string::npos) {
        const std::size_t end = Lower(html).find("</title>", titleAt);
        TextBuilder title;
        for (std::size_t j = titleAt + 7; j < end && j < html.size(); ++j) {
            j = html[j] == '&' ? Entity(html, j, title) - 1 : (title.Word(html[j]), j);
        }
        page.title = title.Take();
    }

    // Sections are cut out of the page's text afterwards, from these marks.
    struct Mark {
        std::size_t headingStart;
        std::size_t headingEnd;
        std::vector<std::string> anchors;
    };
    std::vector<Mark> marks;
    std::vector<std::size_t> sectionEnds;

    while (i < html.size()) {
        const char c = html[i];
        if (c == '&') {
            i = Entity(html, i, out);
            continue;
        }
        if (c != '<') {
            out.Word(c);
            ++i;
            continue;
        }
        const std::size_t close = html.find('>', i);
        if (close == std::string_view::npos) {
            break;
        }
        const std::string_view tag = html.substr(i + 1, close - i - 1);
        const std::string name = Lower(TagName(tag));
        const bool end = !tag.empty() && tag.front() == '/';
        i = close + 1;
        if (name == "h2" || name == "h3" || name == "hr" || name == "body") {
            if (!end && !marks.empty() && sectionEnds.size() < marks.size()) {
                sectionEnds.push_back(out.size());
            }
        }
        if (name == "h3" && !end) {
            out.Break(2);
            inHeading = true;
            marks.push_back({out.size(), 0, {}});
        } else if (name == "h3" && end) {
            inHeading = false;
            marks.back().headingEnd = out.size();
            out.Break(1);
        } else if (name == "a" && !end && inHeading) {
            if (std::string anchor = Attribute(tag, "name"); !anchor.empty()) {
                marks.back().anchors.push_back(std::move(anchor));
            }
        } else if (name == "p" || name == "h2" || name == "table" || name == "ol" || name == "ul" ||
                   name == "hr") {
            out.Break(2);
        } else if (name == "br" || name == "tr") {
            out.Break(1);
        } else if (name == "li" && !end) {
            out.Break(1);
            out.Text("- ");
        } else if ((name == "td" || name == "th") && !end) {
            out.Cell();
        }
    }
    while (sectionEnds.size() < marks.size()) {
        sectionEnds.push_back(std::string::npos);
    }
    page.text = out.Take();
    for (std::size_t m = 0; m < marks.size(); ++m) {
        HelpSection s;
        s.anchors = marks[m].anchors;
        const std::size_t headingEnd = std::min(marks[m].headingEnd, page.text.size());
        s.heading = page.text.substr(marks[m].headingStart, headingEnd - marks[m].headingStart);
        std::size_t start = headingEnd;
        std::size_t stop = std::min(sectionEnds[m], page.text.size());
        while (start < stop && IsSpace(page.text[start])) {
            ++start;
        }
        while (stop > start && IsSpace(page.text[stop - 1])) {
            --stop;
        }
        s.text = page.text.substr(start, stop - start);
        page.sectionOffsets.push_back(marks[m].headingStart);
        page.sections.push_back(std::move(s));
    }
    return page;
}

const HelpSection* FindHelpSection(const HelpPage& page, std::string_view anchor) {
    if (anchor.empty()) {
        return nullptr;
    }
    for (const HelpSection& section : page.sections) {
        if (std::find(section.anchors.begin(), section.anchors.end(), anchor) !=
            section.anchors.end()) {
            return &section;
        }
    }
    return nullptr;
}

}  // namespace tessaly
