// The language and help files the host reads from the plug-in's folder: each
// in UTF-8 with a byte-order mark, named for its language, with exactly the
// plug-in's messages and the help topics it names.
#include "far3/far3_texts.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kBom = "\xEF\xBB\xBF";

std::vector<std::string> Lines(const std::string& file) {
  std::ifstream in(std::string(FAR3_SOURCE_DIR) + "/" + file, std::ios::binary);
  EXPECT_TRUE(in) << file;
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

struct Language {
  const char* suffix;
  const char* header;
};
const Language kLanguages[] = {
    {"en", ".Language=English,English"},
    {"ru", ".Language=Russian,Russian (\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9)"},
};

TEST(Far3Texts, EveryLanguageFileHasExactlyThePluginsMessages) {
  for (const Language& language : kLanguages) {
    const std::vector<std::string> lines =
        Lines(std::string("Veltrane_") + language.suffix + ".lng");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], kBom + language.header);
    int messages = 0;
    for (size_t i = 1; i < lines.size(); ++i) {
      const std::string& line = lines[i];
      if (line.empty() || line.rfind("//", 0) == 0) continue;
      EXPECT_TRUE(line.size() >= 2 && line.front() == '"' && line.back() == '"') << line;
      ++messages;
    }
    EXPECT_EQ(messages, far3::kMessageCount) << language.suffix;
  }
}

TEST(Far3Texts, EveryHelpFileHasTheTopicsThePluginNamesAndNoBrokenLink) {
  for (const Language& language : kLanguages) {
    const std::vector<std::string> lines =
        Lines(std::string("Veltrane_") + language.suffix + ".hlf");
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], kBom + language.header);
    EXPECT_EQ(lines[1], ".PluginContents=Veltrane");
    std::set<std::string> topics;
    std::set<std::string> links;
    for (const std::string& line : lines) {
      if (line.rfind("@", 0) == 0) topics.insert(line.substr(1));
      for (size_t at = line.find("~@"); at != std::string::npos; at = line.find("~@", at + 2)) {
        links.insert(line.substr(at + 2, line.find('@', at + 2) - at - 2));
      }
    }
    EXPECT_TRUE(topics.count("Contents")) << language.suffix;
    EXPECT_TRUE(topics.count("DescSel")) << language.suffix;
    for (const std::string& link : links) EXPECT_TRUE(topics.count(link)) << link;
  }
}

}  // namespace
