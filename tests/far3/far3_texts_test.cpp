// The language files the host reads from the plug-in's folder hold one
// message per message number, in every language.
#include <gtest/gtest.h>

#include <string>

#include "core/messages.h"
#include "tests/language_file.h"

namespace {

TEST(Far3Texts, EveryLanguageFileHasExactlyThePluginsMessages) {
  for (const char* file : {"Veltrane_en.lng", "Veltrane_ru.lng"}) {
    EXPECT_EQ(language_file::Messages(std::string(FAR3_SOURCE_DIR) + "/" + file).size(),
              static_cast<size_t>(kMessageCount))
        << file;
  }
}

}  // namespace
