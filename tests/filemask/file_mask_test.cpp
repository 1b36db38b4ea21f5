// The host's file-mask rules as the stand-in host and the test doubles apply them.
#include "filemask/file_mask.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FileMask, ComparesTheWholeStringIgnoringCase) {
  EXPECT_TRUE(MatchFileMask("readme", "README"));
  EXPECT_FALSE(MatchFileMask("read", "readme"));
  EXPECT_FALSE(MatchFileMask("readme", "read"));
  EXPECT_TRUE(MatchFileMask("", ""));
  EXPECT_FALSE(MatchFileMask("", "a"));
}

TEST(FileMask, StarMatchesAnyRunAndQuestionMarkOneCharacter) {
  EXPECT_TRUE(MatchFileMask("r*", "r"));
  EXPECT_TRUE(MatchFileMask("r*", "Report of May"));
  EXPECT_TRUE(MatchFileMask("*of*", "report of may"));
  EXPECT_TRUE(MatchFileMask("a*b*c", "aXbYbZc"));
  EXPECT_FALSE(MatchFileMask("a*b*c", "aXbYbZ"));
  EXPECT_TRUE(MatchFileMask("?at", "cat"));
  EXPECT_FALSE(MatchFileMask("?at", "at"));
  EXPECT_TRUE(MatchFileMask("**", ""));
}

TEST(FileMask, SetsMatchOneCharacterOfTheSetOrRange) {
  EXPECT_TRUE(MatchFileMask("[abc]x", "Bx"));
  EXPECT_FALSE(MatchFileMask("[abc]x", "dx"));
  EXPECT_TRUE(MatchFileMask("v[0-9]*", "v7 notes"));
  EXPECT_FALSE(MatchFileMask("v[0-9]*", "vx notes"));
  // An unclosed set is an ordinary bracket.
  EXPECT_TRUE(MatchFileMask("[ab", "[ab"));
  EXPECT_FALSE(MatchFileMask("[ab", "a"));
}

TEST(FileMask, ANameWithoutExtensionMatchesAMaskAskingForAnyExtension) {
  EXPECT_TRUE(MatchFileMask("abc.*", "abc"));
  EXPECT_TRUE(MatchFileMask("a*.*", "abc"));
  EXPECT_FALSE(MatchFileMask("abc.*", "ab"));
  EXPECT_FALSE(MatchFileMask("abc.", "abc"));
}

TEST(FileMask, LatinExtendedALettersFoldInPairs) {
  EXPECT_TRUE(MatchFileMask(u"\u0100\u0139\u0178", u"\u0101\u013A\u00FF"));
  EXPECT_FALSE(MatchFileMask(u"\u0101", u"\u0102"));
}

TEST(FileMask, BytesAboveAsciiCompareExactly) {
  EXPECT_TRUE(MatchFileMask("\x8E*", "\x8E\x84"));
  EXPECT_FALSE(MatchFileMask("\x8E*", "\x84\x8E"));
}

TEST(FileMask, ManyStarsAgainstALongMismatchFinishQuickly) {
  std::string text(65536, 'a');
  EXPECT_FALSE(MatchFileMask("*a*a*a*a*a*a*a*a*b", text.c_str()));
}

}  // namespace
