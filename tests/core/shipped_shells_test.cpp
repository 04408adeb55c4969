// The shells the build ships hold every entry the program uses, within their slots: every entry
// named in shell/texts.h (the names the code looks texts up by) and every number of the design's
// list in tests/data/shell_numbers.txt (the windows to come).
#include "shell/language_shell.h"

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

using namespace kov;

namespace {

struct Needed {
    std::string table;
    int a = 0, b = 0;
};

std::vector<Needed> listed_entries() {
    std::ifstream in(KOV_TEST_DATA "/shell_numbers.txt");
    std::vector<Needed> out;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream s(line);
        Needed n;
        s >> n.table >> n.a >> n.b;
        out.push_back(n);
    }
    return out;
}

// The entries named in shell/texts.h: `inline constexpr int Name = N;` in the namespaces txt and
// short_txt, and `inline constexpr ShellList Name{G, ITEMS};` for the lists.
std::vector<Needed> named_entries() {
    std::ifstream in(KOV_SHELL_TEXTS);
    const std::regex space(R"(^namespace (\w+) \{)");
    const std::regex number(R"(^inline constexpr int \w+ = (\d+);)");
    const std::regex list(R"(^inline constexpr ShellList \w+\{(\d+), (\d+)\};)");
    std::vector<Needed> out;
    std::string line, table;
    std::smatch m;
    while (std::getline(in, line)) {
        if (std::regex_search(line, m, space)) {
            table = m[1] == "txt" ? "text" : m[1] == "short_txt" ? "short" : "list";
        } else if (std::regex_search(line, m, number)) {
            out.push_back({table, std::stoi(m[1]), 0});
        } else if (std::regex_search(line, m, list)) {
            for (int i = 0; i < std::stoi(m[2]); ++i) {
                out.push_back({"list", std::stoi(m[1]), i});
            }
        }
    }
    return out;
}

class ShippedShell : public ::testing::TestWithParam<const char*> {};

} // namespace

TEST_P(ShippedShell, HoldsEveryEntryTheProgramUses) {
    const std::string suffix = GetParam();
    const LanguageShell shell =
        load_shell(std::string(KOV_SHELL_DIR) + "/" + shell_file_name(suffix));
    EXPECT_EQ(shell.suffix, suffix);
    EXPECT_EQ(left_chars(shell.title, 3), suffix);
    const auto named = named_entries();
    ASSERT_GT(named.size(), 150u);
    auto needed = listed_entries();
    ASSERT_GT(needed.size(), 500u);
    needed.insert(needed.end(), named.begin(), named.end());
    // Entries that may be empty by design: text 74 closes a phrase after a variant number and
    // is empty where the language needs no ending.
    const std::set<int> may_be_empty = {74};
    for (const auto& n : needed) {
        if (n.table == "text") {
            ASSERT_LT(std::size_t(n.a), shell.texts.size()) << "text " << n.a;
            EXPECT_TRUE(!shell.text(n.a).empty() || may_be_empty.count(n.a))
                << "text " << n.a << " is empty";
        } else if (n.table == "short") {
            ASSERT_LT(std::size_t(n.a), shell.short_texts.size()) << "short text " << n.a;
            EXPECT_FALSE(shell.short_text(n.a).empty()) << "short text " << n.a;
        } else {
            ASSERT_LT(std::size_t(n.a), shell.lists.size()) << "list " << n.a;
            ASSERT_LT(std::size_t(n.b), shell.lists[std::size_t(n.a)].size())
                << "list " << n.a << " item " << n.b;
            EXPECT_FALSE(shell.list_item(n.a, n.b).empty());
        }
    }
    // Report titles are cut at a fixed position, so these texts have exact lengths.
    EXPECT_EQ(char_count(shell.text(389)), 30u);
    EXPECT_EQ(char_count(shell.text(394)), 30u);
    EXPECT_EQ(char_count(shell.text(392)), 34u);
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedShell, ::testing::Values("eng", "rus"));
