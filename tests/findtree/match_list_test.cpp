// The match list: records in the order added, across chunks, a record larger
// than a chunk in one of its own, and a failed allocation that leaves the
// list as it was.
#include "findtree/match_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/doubles/fake_system.h"

namespace {

std::u16string Ascii(const std::string& text) {
  return std::u16string(text.begin(), text.end());
}

using findtree::Piece;

Piece<char16_t> P(const std::u16string& text) {
  return {text.data(), static_cast<uint32_t>(text.size())};
}

std::vector<std::u16string> Paths(const findtree::MatchList<char16_t>& list) {
  std::vector<std::u16string> paths;
  findtree::MatchCursor cursor{list.first, 0};
  while (findtree::Match<char16_t>* match = findtree::NextMatch<char16_t>(&cursor)) {
    paths.push_back(match->Path());
  }
  return paths;
}

TEST(MatchListTest, KeepsTheOrderAcrossChunksAndGivesAHugeRecordAChunkOfItsOwn) {
  fake::ResetSystem();
  findtree::MatchList<char16_t> list{};
  const std::u16string huge(findtree::kMatchChunkBytes, u'x');
  std::vector<std::u16string> expected;
  for (int i = 0; i < 30000; ++i) {
    const std::u16string name = u"n" + Ascii(std::to_string(i));
    const std::u16string& description = i == 100 ? huge : name;
    ASSERT_TRUE(findtree::AddMatch(&list, P(u"sub"), u'\\', P(name), P(description), {}));
    expected.push_back(u"sub\\" + name);
  }
  EXPECT_EQ(Paths(list), expected);
  EXPECT_EQ(list.count, 30000u);
  fake::TheSystem().allocationFails = true;
  EXPECT_FALSE(findtree::AddMatch(&list, P(u""), u'\\', P(huge), P(huge), {}));
  EXPECT_EQ(list.count, 30000u);
  findtree::ReleaseMatches(&list);
  EXPECT_EQ(fake::TheSystem().liveBlocks, 0);
}

}  // namespace
