// The search of a folder tree by description, over the stand-in folders and
// description files: what it finds, what it skips and counts, how it paces
// its progress and stops, and that it holds nothing once done.
#include "findtree/tree_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filemask/file_mask.h"
#include "tests/doubles/fake_folders.h"
#include "tests/doubles/fake_system.h"

namespace {

std::u16string Ascii(const std::string& text) {
  return std::u16string(text.begin(), text.end());
}

using findtree::MatchList;
using findtree::SearchCounts;

// What the gateway was asked while a search ran.
struct Seen {
  std::vector<std::u16string> progress;  // the folder each progress showed
  int stopAtShow = -1;                   // the user stops at this showing
};
Seen seen;

template <class CharT, char16_t kSeparator>
struct TestGateway {
  using Char = CharT;
  static constexpr Char kPathSeparator = Char(kSeparator);
  static constexpr descriptions::HostRules kDescriptionRules =
      kSeparator == u'/' ? descriptions::kFar2lRules : descriptions::kCurrentGenerationRules;
  static descriptions::HostSettings<Char> ReadDescriptionSettings() { return {nullptr, false}; }
  static bool CmpName(const Char* mask, const Char* str) { return MatchFileMask(mask, str); }
  static void ShowSearchProgress(const SearchCounts&, const Char* folder) {
    seen.progress.emplace_back(folder, folder + std::char_traits<Char>::length(folder));
  }
  static bool SearchStopAsked() {
    return static_cast<int>(seen.progress.size()) == seen.stopAtShow;
  }
};
using Windows = TestGateway<char16_t, u'\\'>;
using Linux = TestGateway<wchar_t, u'/'>;

std::vector<uint8_t> Text(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

class TreeSearchTest : public testing::Test {
 protected:
  void SetUp() override {
    fake::ResetSystem();
    fake::ResetFolders();
    seen = Seen{};
  }

  void TearDown() override {
    findtree::ReleaseMatches(&matches);
    EXPECT_EQ(fake::TheSystem().liveBlocks, 0);
    EXPECT_EQ(fake::TheFolders().liveListings, 0);
  }

  void Describe(const std::u16string& folder, const std::string& lines) {
    fake::AddFile(folder, u"Descript.ion", Text(lines));
  }

  SearchCounts Search(const char16_t* mask, bool subfolders = true) {
    return findtree::SearchTree<Windows>(u"C:\\T", mask, subfolders, &matches);
  }

  // Each match as "path = description".
  std::vector<std::u16string> Found() {
    std::vector<std::u16string> found;
    findtree::MatchCursor cursor{matches.first, 0};
    while (findtree::Match<char16_t>* match = findtree::NextMatch<char16_t>(&cursor)) {
      found.push_back(std::u16string(match->Path()) + u" = " + match->Description());
    }
    return found;
  }

  MatchList<char16_t> matches{};
};

TEST_F(TreeSearchTest, FindsDescribedItemsThatExistInEveryFolderBelow) {
  fake::AddFolder(u"C:\\T", {u"cake.txt", u"bread.txt"});
  fake::AddFolder(u"C:\\T\\sub", {u"soup.txt"});
  fake::AddFolder(u"C:\\T\\sub\\Baking");
  Describe(u"C:\\T", "cake.txt lemon cake\r\nbread.txt rye bread\r\ngone.txt lemon cake too\r\n");
  Describe(u"C:\\T\\sub", "soup.txt not a cake\r\nBAKING cakes and lemon tarts\r\n");
  const SearchCounts counts = Search(u"*cake*");
  EXPECT_EQ(Found(),
            (std::vector<std::u16string>{u"cake.txt = lemon cake", u"sub\\soup.txt = not a cake",
                                         u"sub\\Baking = cakes and lemon tarts"}));
  EXPECT_EQ(counts.folders, 3u);
  EXPECT_EQ(counts.found, 3u);
  EXPECT_FALSE(counts.stopped);
  EXPECT_EQ(matches.count, 3u);
}

TEST_F(TreeSearchTest, FactsLeftForLaterAreReadForMatchesAndSizePrefixesAlone) {
  fake::AddFolder(u"C:\\T");
  fake::TheFolders().byPath[u"C:\\T"].entries = {{u"a.txt", sys::kEntryFactsLater, 1234},
                                                 {u"b.txt", sys::kEntryFactsLater, 5},
                                                 {u"c.txt", sys::kEntryFactsLater, 7}};
  Describe(u"C:\\T", "a.txt 1234 cake\r\nb.txt pie\r\nc.txt cake\r\n");
  Search(u"cake");
  EXPECT_EQ(Found(), (std::vector<std::u16string>{u"a.txt = cake", u"c.txt = cake"}))
      << "a description shows, and matches, without the size it begins with";
  EXPECT_EQ(fake::TheFolders().looked,
            (std::vector<std::u16string>{u"C:\\T\\a.txt", u"C:\\T\\c.txt"}))
      << "the size a description begins with first, then the matches lacking facts";
  findtree::MatchCursor cursor{matches.first, 0};
  EXPECT_EQ(findtree::NextMatch<char16_t>(&cursor)->facts.size, 1234u);
}

TEST_F(TreeSearchTest, WithoutSubfoldersSearchesTheFolderAlone) {
  fake::AddFolder(u"C:\\T", {u"cake.txt"});
  fake::AddFolder(u"C:\\T\\sub", {u"more.txt"});
  Describe(u"C:\\T", "cake.txt cake\r\n");
  Describe(u"C:\\T\\sub", "more.txt cake\r\n");
  EXPECT_EQ(Search(u"cake", false).folders, 1u);
  EXPECT_EQ(Found(), (std::vector<std::u16string>{u"cake.txt = cake"}));
}

TEST_F(TreeSearchTest, FoldersThatCannotBeListedAreSkippedAndTheRestSearched) {
  fake::AddFolder(u"C:\\T", {u"a.txt"});
  fake::AddFolder(u"C:\\T\\denied", {u"secret.txt"});
  fake::TheFolders().byPath[u"C:\\T\\denied"].result = sys::ListResult::kUnreadable;
  fake::AddFolder(u"C:\\T\\vanished");
  fake::TheFolders().byPath.erase(u"C:\\T\\vanished");  // gone after its parent was listed
  fake::AddFolder(u"C:\\T\\open", {u"b.txt"});
  Describe(u"C:\\T\\open", "b.txt cake\r\n");
  const SearchCounts counts = Search(u"cake");
  EXPECT_EQ(counts.foldersSkipped, 2u);
  EXPECT_EQ(counts.folders, 2u);
  EXPECT_EQ(Found(), (std::vector<std::u16string>{u"open\\b.txt = cake"}));
}

TEST_F(TreeSearchTest, DescriptionFilesOverTheLimitOrUnreadableAreSkippedAndCounted) {
  fake::AddFolder(u"C:\\T");
  fake::AddFolder(u"C:\\T\\big", {u"a.txt"});
  fake::AddFile(u"C:\\T\\big", u"Descript.ion", {}, sys::FileRead::kTooLarge);
  fake::AddFolder(u"C:\\T\\replaced", {u"a.txt"});  // cut short while it was read
  fake::AddFile(u"C:\\T\\replaced", u"Descript.ion", {}, sys::FileRead::kUnreadable);
  // A FIFO by the first name is no description file: the next name is read.
  fake::AddFolder(u"C:\\T\\fifo", {u"a.txt", u"descript.ion"});
  fake::AddFile(u"C:\\T\\fifo", u"Descript.ion", {}, sys::FileRead::kNotAFile);
  fake::AddFile(u"C:\\T\\fifo", u"Files.bbs", Text("a.txt cake\r\n"));
  const SearchCounts counts = Search(u"cake");
  EXPECT_EQ(counts.filesSkipped, 2u);
  EXPECT_EQ(Found(), (std::vector<std::u16string>{u"fifo\\a.txt = cake"}));
}

TEST_F(TreeSearchTest, LinksAreFollowedButNeverBackIntoAFolderTheSearchIsIn) {
  fake::AddFolder(u"C:\\T", {u"top.txt"});
  fake::AddFolder(u"C:\\T\\a");
  fake::AddFolder(u"C:\\Elsewhere", {u"far.txt"});
  fake::AddLink(u"C:\\T\\a\\loop", u"C:\\T");
  fake::AddLink(u"C:\\T\\a\\away", u"C:\\Elsewhere");
  Describe(u"C:\\T", "top.txt cake\r\n");
  Describe(u"C:\\T\\a\\away", "far.txt cake\r\n");  // read under the link's own path
  const SearchCounts counts = Search(u"cake");
  EXPECT_EQ(counts.loopsSkipped, 1u);
  EXPECT_EQ(counts.folders, 3u);
  EXPECT_EQ(Found(), (std::vector<std::u16string>{u"top.txt = cake", u"a\\away\\far.txt = cake"}));
}

TEST_F(TreeSearchTest, AFolderWhosePathWouldPassThePlatformLimitIsSkipped) {
  std::u16string path = u"C:\\T";
  fake::AddFolder(path);
  while (path.size() <= sys::kMaxPathUnits) {
    path += u"\\" + std::u16string(250, u'd');
    fake::AddFolder(path, {u"x.txt"});
    Describe(path, "x.txt cake\r\n");
  }
  const SearchCounts counts = Search(u"cake");
  EXPECT_EQ(counts.foldersSkipped, 1u);
  EXPECT_EQ(counts.found, counts.folders - 1);
  EXPECT_EQ(counts.found, sys::kMaxPathUnits / 251);
}

TEST_F(TreeSearchTest, ProgressShowsAtOnceThenAtMostTenTimesASecondAndAStopKeepsTheMatches) {
  fake::TheFolders().clockStep = 30;  // each folder takes 30 ms
  fake::AddFolder(u"C:\\T");
  for (char16_t c = u'a'; c <= u'j'; ++c) {
    const std::u16string folder = u"C:\\T\\" + std::u16string(1, c);
    fake::AddFolder(folder, {u"x.txt"});
    Describe(folder, "x.txt cake\r\n");
  }
  seen.stopAtShow = 3;
  const SearchCounts counts = Search(u"cake");
  EXPECT_EQ(seen.progress, (std::vector<std::u16string>{u"C:\\T", u"C:\\T\\d", u"C:\\T\\h"}));
  EXPECT_TRUE(counts.stopped);
  EXPECT_EQ(counts.found, 8u);
  EXPECT_EQ(matches.count, 8u);
}

TEST_F(TreeSearchTest, AMillionMatchesTakeMemoryInProportionToThemAlone) {
  constexpr uint32_t kItems = 1000000;
  std::vector<std::u16string> names;
  std::string lines;
  for (uint32_t i = 0; i < kItems; ++i) {
    names.push_back(u"f" + Ascii(std::to_string(i)));
    lines += "f" + std::to_string(i) + " cake\n";
  }
  fake::AddFolder(u"C:\\T", names);
  Describe(u"C:\\T", lines);
  EXPECT_EQ(Search(u"cake").found, kItems);
  // A 32-byte record, "f999999" and "cake" as UTF-16 with their NULs, to 8.
  EXPECT_LE(matches.heapBytes, uint64_t{kItems} * 64 + findtree::kMatchChunkBytes);
}

TEST_F(TreeSearchTest, UnicodeTextAndPosixPathsForFar2l) {
  fake::ResetFolders(u'/');
  fake::AddFolder(u"/home/t", {});
  fake::AddFolder(u"/home/t/\u0444\u043e\u0442\u043e", {u"\u0442\u043e\u0440\u0442.jpg"});
  fake::AddFile(u"/home/t/\u0444\u043e\u0442\u043e", u"Descript.ion",
                Text("\xEF\xBB\xBF\xD1\x82\xD0\xBE\xD1\x80\xD1\x82.jpg "
                     "\xD0\x9B\xD0\xB8\xD0\xBC\xD0\xBE\xD0\xBD\xD0\xBD\xD1\x8B\xD0\xB9 "
                     "\xD1\x82\xD0\xBE\xD1\x80\xD1\x82\r\n"));  // "Лимонный торт", UTF-8
  MatchList<wchar_t> found{};
  const SearchCounts counts =
      findtree::SearchTree<Linux>(L"/home/t", L"*\u043b\u0438\u043c\u043e\u043d*", true, &found);
  EXPECT_EQ(counts.found, 1u);
  findtree::MatchCursor cursor{found.first, 0};
  findtree::Match<wchar_t>* match = findtree::NextMatch<wchar_t>(&cursor);
  ASSERT_NE(match, nullptr);
  EXPECT_EQ(std::wstring(match->Path()), L"\u0444\u043e\u0442\u043e/\u0442\u043e\u0440\u0442.jpg");
  EXPECT_EQ(std::wstring(match->Description()),
            L"\u041b\u0438\u043c\u043e\u043d\u043d\u044b\u0439 \u0442\u043e\u0440\u0442");
  findtree::ReleaseMatches(&found);
}

TEST_F(TreeSearchTest, ARootFolderAndAMissingSearchFolder) {
  fake::AddFolder(u"C:\\", {});
  fake::AddFolder(u"C:\\docs", {u"a.txt"});
  fake::TheFolders().byPath[u"C:\\"].entries = {fake::Entry{u"docs", sys::kEntryFolder, 0}};
  Describe(u"C:\\docs", "a.txt cake\r\n");
  EXPECT_EQ(findtree::SearchTree<Windows>(u"C:\\", u"cake", true, &matches).found, 1u);
  EXPECT_EQ(Found(), (std::vector<std::u16string>{u"docs\\a.txt = cake"}));
  EXPECT_EQ(findtree::SearchTree<Windows>(u"C:\\none", u"cake", true, &matches).foldersSkipped, 1u);
}

}  // namespace
