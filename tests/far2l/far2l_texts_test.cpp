// The language files shipped beside the module: one message per message
// number in every language, the English file matching the built-in texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/messages.h"
#include "tests/language_file.h"

namespace {

std::vector<std::string> Messages(const std::string& file) {
  return language_file::Messages(std::string(FAR2L_SOURCE_DIR) + "/" + file);
}

std::string Ascii(const wchar_t* text) {
  std::string ascii;
  for (; *text != 0; ++text) ascii += static_cast<char>(*text);
  return ascii;
}

TEST(Far2lLanguageFiles, EveryLanguageHasOneMessagePerNumber) {
  EXPECT_EQ(Messages("Veltrane_en.lng").size(), static_cast<size_t>(kMessageCount));
  EXPECT_EQ(Messages("Veltrane_ru.lng").size(), static_cast<size_t>(kMessageCount));
}

TEST(Far2lLanguageFiles, TheEnglishFileHoldsTheBuiltInTexts) {
  const std::vector<std::string> english = Messages("Veltrane_en.lng");
  for (int id = 0; id < kMessageCount && id < static_cast<int>(english.size()); ++id) {
    EXPECT_EQ(english[id], Ascii(kEnglishMessages<wchar_t>.text[id])) << "message " << id;
  }
}

}  // namespace
