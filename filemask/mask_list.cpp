// Mask lists for the stand-in hosts: the list is split at each call, as
// simply as the tests need.
#include "filemask/mask_list.h"

#include <regex>
#include <string>
#include <vector>

#include "filemask/file_mask.h"

namespace {

template <class Char>
struct Parsed {
  bool valid = true;
  std::vector<std::basic_string<Char>> include, exclude;
};

template <class Char>
std::string Narrow(const std::basic_string<Char>& text) {
  return std::string(text.begin(), text.end());
}

template <class Char>
bool RegexMatches(const std::basic_string<Char>& part, const Char* str, bool* valid) {
  const size_t close = part.rfind('/');
  if (close == 0) {
    *valid = false;
    return false;
  }
  const std::basic_string<Char> flags = part.substr(close + 1);
  try {
    std::regex re(Narrow(part.substr(1, close - 1)),
                  flags.find('i') != flags.npos ? std::regex::icase : std::regex::ECMAScript);
    return std::regex_search(Narrow(std::basic_string<Char>(str)), re);
  } catch (const std::regex_error&) {
    *valid = false;
    return false;
  }
}

template <class Char>
Parsed<Char> Parse(const Char* list) {
  Parsed<Char> parsed;
  std::vector<std::basic_string<Char>>* into = &parsed.include;
  std::basic_string<Char> part;
  auto finish = [&] {
    if (!part.empty()) into->push_back(part);
    part.clear();
  };
  for (const Char* p = list; *p != 0; ++p) {
    if (*p == '/' && part.empty()) {  // a regular expression runs to its closing "/"
      part += *p++;
      while (*p != 0 && *p != '/') part += *p++;
      if (*p == 0) {
        parsed.valid = false;
        break;
      }
      part += *p;
    } else if (*p == ',' || *p == ';') {
      finish();
    } else if (*p == '|') {
      finish();
      into = &parsed.exclude;
    } else if (*p != ' ' || !part.empty()) {
      part += *p;
    }
  }
  finish();
  if (parsed.include.empty()) parsed.valid = false;
  return parsed;
}

template <class Char>
bool AnyMatches(const std::vector<std::basic_string<Char>>& parts, const Char* str, bool* valid) {
  bool matched = false;
  for (const std::basic_string<Char>& part : parts) {
    matched |= part[0] == '/' ? RegexMatches(part, str, valid) : MatchFileMask(part.c_str(), str);
  }
  return matched;
}

template <class Char>
bool Valid(const Char* list) {
  Parsed<Char> parsed = Parse(list);
  const Char none[] = {0};
  AnyMatches(parsed.include, none, &parsed.valid);
  AnyMatches(parsed.exclude, none, &parsed.valid);
  return parsed.valid;
}

template <class Char>
bool Match(const Char* list, const Char* str) {
  Parsed<Char> parsed = Parse(list);
  return parsed.valid && AnyMatches(parsed.include, str, &parsed.valid) &&
         !AnyMatches(parsed.exclude, str, &parsed.valid) && parsed.valid;
}

}  // namespace

bool MaskListIsValid(const char16_t* list) {
  return Valid(list);
}

bool MaskListIsValid(const wchar_t* list) {
  return Valid(list);
}

bool MatchMaskList(const char16_t* list, const char16_t* str) {
  return Match(list, str);
}

bool MatchMaskList(const wchar_t* list, const wchar_t* str) {
  return Match(list, str);
}
