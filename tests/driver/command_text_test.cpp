#include "command_text.h"

#include <gtest/gtest.h>

namespace {
using driver::Words;

TEST(SplitLine, ReadsCommandsWordsQuotesAndComments) {
    struct Case {
        const char* line;
        std::vector<Words> commands;
    };
    const Case cases[] = {
        {"", {}},
        {"   # only a comment", {}},
        {"open", {{"open"}}},
        {"  id   1234.9\t", {{"id", "1234.9"}}},
        {"open; type shader;; process;", {{"open"}, {"type", "shader"}, {"process"}}},
        {"list # list; process", {{"list"}}},
        {"select \"/My Group/Cube 1\" mat:Wood", {{"select", "/My Group/Cube 1", "mat:Wood"}}},
        {"select \"/a;b#c\"", {{"select", "/a;b#c"}}},
        {R"(select "/say \"hi\" \\ x")", {{"select", R"(/say "hi" \ x)"}}},
        {"select \"\"", {{"select", ""}}},
        {"process\r", {{"process"}}},
    };
    for (const Case& c : cases) {
        driver::SplitLine split = driver::splitLine(c.line);
        EXPECT_EQ(split.error, "") << c.line;
        EXPECT_EQ(split.commands, c.commands) << c.line;
    }
}

TEST(SplitLine, RunsNothingOfALineWithAnOpenQuote) {
    driver::SplitLine split = driver::splitLine("open; select \"/Cube");
    EXPECT_EQ(split.error, "unterminated quote");
    EXPECT_TRUE(split.commands.empty());
}

TEST(QuoteWord, TypesWordsBackSoTheyReadTheSame) {
    for (const char* line : {"select \"/My Group/Cube\" mat:Wood", "id -7.5", R"(select "/a;b" "\"q\"" "")"}) {
        driver::SplitLine split = driver::splitLine(line);
        ASSERT_EQ(split.commands.size(), 1u);
        EXPECT_EQ(driver::splitLine(driver::joinWords(split.commands[0])).commands, split.commands) << line;
    }
}

TEST(SplitLines, DropsLineBreaksOfEitherKind) {
    EXPECT_EQ(driver::splitLines("a\r\nb\n\nc"), (std::vector<std::string_view>{"a", "b", "", "c"}));
    EXPECT_EQ(driver::splitLines("a\n"), (std::vector<std::string_view>{"a"}));
    EXPECT_TRUE(driver::splitLines("").empty());
}

}  // namespace

namespace {
// A carriage return inside quotes is part of the word, so written back the
// word must be quoted again (found by the script reader's fuzz target).
TEST(CommandText, AQuotedCarriageReturnReadsBackAsWritten) {
    const driver::Words command = {"select", "a\rb"};
    driver::SplitLine again = driver::splitLine(driver::joinWords(command));
    ASSERT_EQ(again.commands.size(), 1u);
    EXPECT_EQ(again.commands[0], command);
}
}  // namespace
