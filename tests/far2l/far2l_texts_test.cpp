// The language and help files shipped beside the module: one message per
// message number in every language, the English file matching the built-in
// texts, and help topics that exist wherever they are named.
#include "far2l/far2l_texts.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const std::string& file) {
  std::ifstream in(std::string(FAR2L_SOURCE_DIR) + "/" + file, std::ios::binary);
  EXPECT_TRUE(in) << file;
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A language file's messages: every line that is a double-quoted string.
std::vector<std::string> Messages(const std::string& file) {
  std::vector<std::string> messages;
  for (const std::string& line : Lines(file)) {
    if (line.size() >= 2 && line.front() == '"' && line.back() == '"') {
      messages.push_back(line.substr(1, line.size() - 2));
    }
  }
  return messages;
}

std::string Ascii(const wchar_t* text) {
  std::string ascii;
  for (; *text != 0; ++text) ascii += static_cast<char>(*text);
  return ascii;
}

TEST(Far2lLanguageFiles, EveryLanguageHasOneMessagePerNumber) {
  EXPECT_EQ(Lines("Veltrane_en.lng").at(0), ".Language=English,English");
  EXPECT_EQ(Lines("Veltrane_ru.lng").at(0),
            ".Language=Russian,Russian (\u0420\u0443\u0441\u0441\u043a\u0438\u0439)");
  EXPECT_EQ(Messages("Veltrane_en.lng").size(), far2l::kMsgCount);
  EXPECT_EQ(Messages("Veltrane_ru.lng").size(), far2l::kMsgCount);
}

TEST(Far2lLanguageFiles, TheEnglishFileHoldsTheBuiltInTexts) {
  const std::vector<std::string> english = Messages("Veltrane_en.lng");
  for (int id = 0; id < far2l::kMsgCount && id < static_cast<int>(english.size()); ++id) {
    EXPECT_EQ(english[id], Ascii(far2l::kEnglishMessages[id])) << "message " << id;
  }
}

TEST(Far2lHelpFiles, TopicsNamedByLinksAndTheDialogExist) {
  for (const std::string file : {"Veltrane_en.hlf", "Veltrane_ru.hlf"}) {
    const std::vector<std::string> lines = Lines(file);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].rfind(".Language=", 0), 0u) << file;
    std::set<std::string> topics;
    std::set<std::string> linked = {"Contents", Ascii(far2l::kSelectHelpTopic)};
    const std::regex link("~[^~]*~@([A-Za-z]+)@");
    for (const std::string& line : lines) {
      if (line.size() > 1 && line[0] == '@') topics.insert(line.substr(1));
      for (std::sregex_iterator it(line.begin(), line.end(), link), end; it != end; ++it) {
        linked.insert((*it)[1]);
      }
    }
    for (const std::string& topic : linked)
      EXPECT_TRUE(topics.count(topic)) << file << ": " << topic;
  }
}

}  // namespace
