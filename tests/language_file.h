// The messages of a language file the host reads beside the plug-in: every
// line that is a double-quoted string, without the quotes. The file's own
// form (encoding, language line, nothing but messages and comments) is
// checked by tests/release/check_texts.sh.
#pragma once

#include <fstream>
#include <string>
#include <vector>

namespace language_file {

inline std::vector<std::string> Messages(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> messages;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() >= 2 && line.front() == '"' && line.back() == '"') {
      messages.push_back(line.substr(1, line.size() - 2));
    }
  }
  return messages;
}

}  // namespace language_file
