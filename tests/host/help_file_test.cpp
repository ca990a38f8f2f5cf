// The help file's reading into topics, the shipped help among them.
#include "help/help_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

TEST(HelpFile, TopicsParagraphsAndListItems) {
    const help::HelpFile file = help::parseHelp(
        "\xEF\xBB\xBF\r\n# Primeiro\r\nUma frase\r\ncontinua aqui.\r\n\r\n- item um\r\n- item dois\r\n"
        "# Segundo  \n\n\nTexto.\n# Vazio\n");
    ASSERT_TRUE(file.ok()) << file.error;
    ASSERT_EQ(file.topics.size(), 3u);
    EXPECT_EQ(file.topics[0].title, "Primeiro");
    EXPECT_EQ(file.topics[0].paragraphs,
              (std::vector<std::string>{"Uma frase continua aqui.", "- item um", "- item dois"}));
    EXPECT_EQ(help::topicText(file.topics[0]), "Uma frase continua aqui.\r\n\r\n\xE2\x80\xA2 item um\r\n\xE2\x80\xA2 item dois");
    EXPECT_EQ(file.topics[1].title, "Segundo");
    EXPECT_EQ(file.topics[1].paragraphs, std::vector<std::string>{"Texto."});
    EXPECT_TRUE(file.topics[2].paragraphs.empty());
}

TEST(HelpFile, DamagedFilesAreRefusedWithAReason) {
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"only blank lines", "\n\r\n  \n"},
        {"text before the first topic", "Sem título\n# Tópico\nTexto"},
        {"a NUL byte", std::string("# T\nab\0cd", 10)},
        {"not UTF-8", "# T\n\xE9t\xE9\n"},
        {"cut inside a character", "# T\nfim \xC3"},
        {"larger than any help of ours", "# T\n" + std::string(help::kLargestHelpFile, 'a')},
    };
    for (const auto& c : cases) {
        const help::HelpFile file = help::parseHelp(c.bytes);
        EXPECT_FALSE(file.ok()) << c.name;
        EXPECT_TRUE(file.topics.empty()) << c.name;
    }
}

TEST(HelpFile, ThePathIsTheWholeRestOfTheCommandLine) {
    const struct {
        const char* arguments;
        const char* path;
    } cases[] = {
        {"C:\\Tavoral\\hlp\\brisalto", "C:\\Tavoral\\hlp\\brisalto"},
        {" C:\\Users\\Ana Maria\\Tavoral\\hlp\\brisalto ", "C:\\Users\\Ana Maria\\Tavoral\\hlp\\brisalto"},
        {"\"C:\\Program Files\\hlp\\brisalto\"", "C:\\Program Files\\hlp\\brisalto"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(help::helpPathFromArguments(c.arguments), c.path) << c.arguments;
}

// What the therapist gets: every topic has a title and some text.
TEST(HelpFile, TheShippedHelpReads) {
    std::ifstream in(HELP_TEXT_FILE, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    const help::HelpFile file = help::parseHelp(bytes);
    ASSERT_TRUE(file.ok()) << file.error;
    ASSERT_GE(file.topics.size(), 5u);
    EXPECT_EQ(file.topics.front().title, "O que o programa mede");
    for (const auto& topic : file.topics) {
        EXPECT_FALSE(topic.title.empty());
        EXPECT_FALSE(topic.paragraphs.empty()) << topic.title;
    }
}

}  // namespace
