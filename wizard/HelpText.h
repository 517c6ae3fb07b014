#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// The help pages (resources/help) as plain text, for a view that shows them as text (the Qt
// view shows the HTML itself). A control's section is an <h3> heading holding an anchor named
// after the control (ControlName), with what follows up to the next heading or rule.

struct HelpSection {
    std::vector<std::string> anchors;
    std::string heading;
    std::string text;  // plain text, paragraphs separated by an empty line
};

struct HelpPage {
    std::string title;
    std::string text;  // the whole page as plain text, lines ending in CR LF
    std::vector<HelpSection> sections;
    // Where each section's heading starts in `text`, in the order of `sections`.
    std::vector<std::size_t> sectionOffsets;
};

// Reads a help page: tags go, entities are decoded, block elements break lines, table cells are
// separated by " | ". Lines end in CR LF, as an edit control shows them.
HelpPage ParseHelpPage(std::string_view html);

// The section describing `anchor`, or null.
const HelpSection* FindHelpSection(const HelpPage& page, std::string_view anchor);

}  // namespace tessaly
