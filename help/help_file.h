// The suite's help file, "hlp\brisalto": UTF-8 text of our own making.
//
//   # Title of a topic
//   A paragraph may run over several lines; they are joined.
//
//   - a list item stays on a line of its own
//
// Every topic starts with a line "# " and its title; blank lines separate
// paragraphs.  Nothing but blank lines may come before the first topic.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace help {

struct Topic {
    std::string title;
    std::vector<std::string> paragraphs;  // a list item is a paragraph starting with "- "
};

struct HelpFile {
    std::vector<Topic> topics;
    std::string error;  // empty when the file was read; otherwise why it cannot be shown
    bool ok() const { return error.empty(); }
};

// A help file larger than this is not ours.
inline constexpr size_t kLargestHelpFile = 1 << 20;

HelpFile parseHelp(std::string_view bytes);

// A topic's text for a multi-line text box: paragraphs separated by an
// empty line, list items by a line break, lines ended by "\r\n".
std::string topicText(const Topic& topic);

// The help file named on the viewer's command line: everything after the
// program's name, so a folder with spaces in its name needs no quotes;
// surrounding quotes are removed.
std::string helpPathFromArguments(std::string_view arguments);

}  // namespace help
