// The help pages as they are kept: every link reaches a page, an anchor or a
// picture that exists, every page is compiled and reachable from the
// contents, and the help project maps each window's help context to the page
// the program opens for it.
#include <gtest/gtest.h>

#include "HelpProject.h"
#include "HelpTopics.h"

namespace {

struct TBook {
  const char* Folder;
  const char* Project;
  const char* Contents;
  const char* Index;  // nullptr: none
};
const TBook Books[] = {{"usagram", "Usagram.hhp", "Usagram.hhc", "Usagram.hhk"},
                       {"quorvel", "Quorvel.hhp", "Quorvel.hhc", nullptr}};

void PrintTo(const TBook& b, std::ostream* os) { *os << b.Folder; }

// The stylesheet of every book, kept once beside the books' folders.
constexpr const char* SharedStylesheet = "help.css";

std::string Folder(const TBook& b) { return HostPath(USAGRAM_HELP_SOURCES) + "\\" + b.Folder; }

bool Exists(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// Where a picture of the pages comes from: images/NAME is staged from
// docs/ (the screenshots) or from the program's own pictures.
bool PictureExists(const std::string& name) {
  return Exists(HostPath(USAGRAM_DOCS) + "\\" + name) || Exists(HostPath(USAGRAM_PICTURES) + "\\" + name);
}

class HelpBook : public testing::TestWithParam<TBook> {};

TEST_P(HelpBook, EveryLinkReachesAPageAnAnchorOrAPictureThatExists) {
  const std::string dir = Folder(GetParam());
  const std::set<std::string> pages = FilesOf(dir, ".htm");
  ASSERT_FALSE(pages.empty()) << dir;
  int checked = 0;
  for (const std::string& page : pages) {
    const std::string html = ReadText(dir + "\\" + page);
    EXPECT_FALSE(TitleOf(html).empty()) << page << " has no title";
    for (const std::string& link : LinksOf(html)) {
      ++checked;
      if (link.rfind("http:", 0) == 0 || link.rfind("mailto:", 0) == 0) {
        ADD_FAILURE() << page << ": " << link << " leaves the help file";
        continue;
      }
      const size_t hash = link.find('#');
      const std::string file = link.substr(0, hash);
      const std::string anchor = hash == std::string::npos ? "" : link.substr(hash + 1);
      if (file.rfind("images/", 0) == 0) {
        EXPECT_TRUE(PictureExists(file.substr(7))) << page << ": no picture " << file;
        continue;
      }
      if (file == SharedStylesheet) {
        EXPECT_TRUE(Exists(HostPath(USAGRAM_HELP_SOURCES) + "\\" + file)) << page << ": no " << file;
        continue;
      }
      const std::string target = file.empty() ? page : file;
      ASSERT_TRUE(Exists(dir + "\\" + target)) << page << ": broken link " << link;
      if (!anchor.empty()) {
        EXPECT_EQ(AnchorsOf(ReadText(dir + "\\" + target)).count(anchor), 1u) << page << ": no anchor " << link;
      }
    }
  }
  EXPECT_GT(checked, 0);
}

TEST_P(HelpBook, EveryPageIsCompiledAndEveryTopicOfTheContentsAndIndexExists) {
  const TBook& b = GetParam();
  const std::string dir = Folder(b);
  auto project = ReadProject(dir + "\\" + b.Project);
  const std::set<std::string> listed(project["FILES"].begin(), project["FILES"].end());
  EXPECT_EQ(listed, FilesOf(dir, ".htm")) << "the [FILES] of " << b.Project << " and the pages differ";

  std::set<std::string> inContents;
  for (const char* sitemap : {b.Contents, b.Index}) {
    if (!sitemap) continue;
    const std::vector<std::string> topics = TopicsOf(ReadText(dir + "\\" + sitemap));
    EXPECT_FALSE(topics.empty()) << sitemap;
    for (const std::string& t : topics) {
      const std::string file = t.substr(0, t.find('#'));
      EXPECT_EQ(listed.count(file), 1u) << sitemap << " names " << t << ", which is not compiled";
      if (sitemap == b.Contents) inContents.insert(file);
    }
  }
  for (const std::string& page : listed) EXPECT_EQ(inContents.count(page), 1u) << page << " is not in the contents";
}

INSTANTIATE_TEST_SUITE_P(Books, HelpBook, testing::ValuesIn(Books),
                         [](const testing::TestParamInfo<TBook>& i) { return std::string(i.param.Folder); });

TEST(HelpContexts, TheProjectMapsEachWindowsContextToThePageTheProgramOpens) {
  auto project = ReadProject(Folder(Books[0]) + "\\Usagram.hhp");
  std::map<std::string, std::string> alias;  // IDH_... -> page
  for (const std::string& line : project["ALIAS"]) {
    const size_t eq = line.find('=');
    ASSERT_NE(eq, std::string::npos) << line;
    alias[line.substr(0, eq)] = line.substr(eq + 1);
  }
  std::map<int, std::string> mapped;  // context -> page
  const std::regex define(R"(#define\s+(\w+)\s+(\d+))");
  for (const std::string& line : project["MAP"]) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(line, m, define)) << line;
    ASSERT_EQ(alias.count(m[1].str()), 1u) << m[1].str() << " has no alias";
    EXPECT_TRUE(mapped.emplace(std::stoi(m[2].str()), alias[m[1].str()]).second) << "context " << m[2].str() << " twice";
  }
  std::map<int, std::string> program;
  for (const THelpTopic& t : HelpTopics) program[t.Context] = std::string(t.Page);
  EXPECT_EQ(mapped, program);
  // The windows' contexts are 1 to 7, each with a page of its own.
  ASSERT_EQ(program.size(), 7u);
  EXPECT_EQ(program.begin()->first, 1);
  EXPECT_EQ(program.rbegin()->first, 7);
  std::set<std::string> pages;
  for (auto& [context, page] : program) EXPECT_TRUE(pages.insert(page).second) << page << " twice";
  EXPECT_EQ(HelpTopicPage(5), "locations-window.htm");
  EXPECT_TRUE(HelpTopicPage(0).empty());
  EXPECT_TRUE(HelpTopicPage(8).empty());
}

}  // namespace
