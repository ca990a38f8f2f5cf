#include "help/help_file.h"

namespace help {
namespace {

// Well-formed UTF-8 without NUL bytes: what a text editor saves.
bool isUtf8Text(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c == 0) return false;
        size_t extra = 0;
        if (c < 0x80) extra = 0;
        else if (c >= 0xC2 && c <= 0xDF) extra = 1;
        else if (c >= 0xE0 && c <= 0xEF) extra = 2;
        else if (c >= 0xF0 && c <= 0xF4) extra = 3;
        else return false;
        if (i + extra >= s.size() && extra > 0) return false;  // cut off inside a character
        for (size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += extra + 1;
    }
    return true;
}

std::string_view trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

}  // namespace

HelpFile parseHelp(std::string_view bytes) {
    HelpFile file;
    if (bytes.size() > kLargestHelpFile) {
        file.error = "O arquivo de ajuda é grande demais.";
        return file;
    }
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    if (!isUtf8Text(bytes)) {
        file.error = "O arquivo de ajuda está danificado: não é um texto.";
        return file;
    }
    bool paragraphOpen = false;
    while (!bytes.empty()) {
        const size_t end = bytes.find('\n');
        const std::string_view line = trim(bytes.substr(0, end));
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);

        if (line.empty()) {
            paragraphOpen = false;
        } else if (line.substr(0, 2) == "# ") {
            file.topics.push_back({std::string(trim(line.substr(2))), {}});
            paragraphOpen = false;
        } else if (file.topics.empty()) {
            file.topics.clear();
            file.error = "O arquivo de ajuda está danificado: o texto não começa por um tópico.";
            return file;
        } else {
            auto& paragraphs = file.topics.back().paragraphs;
            const bool item = line.substr(0, 2) == "- ";
            if (paragraphOpen && !item) {
                paragraphs.back() += ' ';
                paragraphs.back() += line;
            } else {
                paragraphs.emplace_back(line);
            }
            paragraphOpen = true;
        }
    }
    if (file.topics.empty()) file.error = "O arquivo de ajuda está vazio.";
    return file;
}

std::string topicText(const Topic& topic) {
    std::string text;
    bool lastWasItem = false;
    for (const std::string& p : topic.paragraphs) {
        const bool item = p.substr(0, 2) == "- ";
        if (!text.empty()) text += (item && lastWasItem) ? "\r\n" : "\r\n\r\n";
        text += item ? "\xE2\x80\xA2 " + p.substr(2) : p;  // a bullet
        lastWasItem = item;
    }
    return text;
}

std::string helpPathFromArguments(std::string_view arguments) {
    arguments = trim(arguments);
    if (arguments.size() >= 2 && arguments.front() == '"' && arguments.back() == '"') {
        arguments.remove_prefix(1);
        arguments.remove_suffix(1);
    }
    return std::string(arguments);
}

}  // namespace help
