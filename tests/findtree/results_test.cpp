// The texts and names a results panel works with: counts as the hosts show
// them, a path cut to fit, a composed title, and a full name cut into its
// folder and name, roots included.
#include "findtree/results.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string Count(uint64_t value) {
  char16_t out[findtree::kNumberUnits];
  findtree::FormatCount(value, out);
  return out;
}

std::u16string Fit(const std::u16string& path, uint32_t width) {
  char16_t out[64];
  findtree::FitPath(path.c_str(), width, out);
  return out;
}

std::pair<std::u16string, std::u16string> Cut(std::u16string full, char16_t separator) {
  full.push_back(0);  // the room for one unit more
  char16_t* folder;
  char16_t* name;
  findtree::CutName(full.data(), separator, &folder, &name);
  return {folder, name};
}

TEST(ResultsTextTest, CountsAreGroupedInThreesUpToTheLargest) {
  EXPECT_EQ(Count(0), u"0");
  EXPECT_EQ(Count(999), u"999");
  EXPECT_EQ(Count(1000), u"1 000");
  EXPECT_EQ(Count(1234567), u"1 234 567");
  EXPECT_EQ(Count(UINT64_MAX), u"18 446 744 073 709 551 615");
}

TEST(ResultsTextTest, APathIsCutFromTheLeftAndATitleComposed) {
  EXPECT_EQ(Fit(u"C:\\Docs", 10), u"C:\\Docs");
  EXPECT_EQ(Fit(u"C:\\Users\\me\\Photos\\2024", 12), u"...otos\\2024");
  char16_t title[findtree::kTitleUnits];
  findtree::Compose(title, findtree::kTitleUnits, u"%1 in %2 (%3)", u"*cake*", u"C:\\");
  EXPECT_EQ(std::u16string(title), u"*cake* in C:\\ (%3)");
  findtree::Compose(title, 8, u"%1 in %2", u"*cake*", u"C:\\");
  EXPECT_EQ(std::u16string(title), u"*cake* ") << "cut short, never past its room";
}

TEST(ResultsTextTest, AFullNameIsCutIntoFolderAndNameKeepingARootsSeparator) {
  using Parts = std::pair<std::u16string, std::u16string>;
  EXPECT_EQ(Cut(u"C:\\Docs\\a.txt", u'\\'), (Parts{u"C:\\Docs", u"a.txt"}));
  EXPECT_EQ(Cut(u"C:\\a.txt", u'\\'), (Parts{u"C:\\", u"a.txt"}));
  EXPECT_EQ(Cut(u"\\\\server\\share\\a.txt", u'\\'), (Parts{u"\\\\server\\share", u"a.txt"}));
  EXPECT_EQ(Cut(u"/a.txt", u'/'), (Parts{u"/", u"a.txt"}));
  EXPECT_EQ(Cut(u"/home/me/a.txt", u'/'), (Parts{u"/home/me", u"a.txt"}));
}

}  // namespace
