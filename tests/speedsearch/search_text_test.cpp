// The typed text of a speed search, whatever the character type.
#include "speedsearch/search_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A character outside the Basic Multilingual Plane arrives as two keys, one
// per half of its surrogate pair, and counts as one of the 18 characters.
TEST(Utf16SearchText, APairTypedAsTwoKeysIsOneCharacterAndBackspaceTakesBothHalves) {
  BasicSearchText<char16_t> text;
  ClearSearchText(&text);
  EXPECT_FALSE(AppendCharacter(&text, 0xD83D)) << "half a character is held back";
  EXPECT_EQ(text.units, 0u);
  EXPECT_TRUE(AppendCharacter(&text, 0xDE00));
  EXPECT_TRUE(AppendCharacter(&text, u'a'));
  EXPECT_EQ(std::u16string(text.chars), u"\U0001F600a");
  EXPECT_EQ(text.length, 2u);
  DropLastCharacter(&text);
  DropLastCharacter(&text);
  EXPECT_EQ(text.units, 0u);

  for (uint32_t i = 0; i < kSearchTextMax; ++i) {
    AppendCharacter(&text, 0xD83D);
    ASSERT_TRUE(AppendCharacter(&text, 0xDE00));
  }
  EXPECT_EQ(text.units, 2 * kSearchTextMax) << "18 characters fill 36 units";
  EXPECT_FALSE(AppendCharacter(&text, u'a'));
}

}  // namespace
