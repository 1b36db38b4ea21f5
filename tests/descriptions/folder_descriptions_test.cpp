// The plug-in's own reading of a folder's description file: the line rules,
// the encodings, the name matching and the choice of file, for each host's
// character type (OEM bytes, UTF-16, UTF-32) and rules, against the stand-in
// file system, a CP866 OEM and a CP1251 ANSI code page.
#include "descriptions/folder_descriptions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/doubles/fake_system.h"

namespace {

using descriptions::FolderDescriptions;
using descriptions::ReadFolderDescriptions;
using descriptions::ReleaseFolderDescriptions;

using Bytes = std::vector<uint8_t>;

Bytes B(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

std::u32string CodePoints(const std::string& utf8) {
  std::u32string out;
  for (size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<uint8_t>(utf8[i]);
    const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) c = (c << 6) | (static_cast<uint8_t>(utf8[i + k]) & 0x3F);
    out += c;
    i += 1 + extra;
  }
  return out;
}

// Text of the character type under test, from UTF-8 source text: CP866 bytes
// for char (characters CP866 lacks become '?'), UTF-16 or UTF-32 otherwise.
template <class Char>
std::basic_string<Char> T(const std::string& utf8) {
  std::basic_string<Char> out;
  const auto upper = fake::Cp866UpperHalf();
  for (char32_t c : CodePoints(utf8)) {
    if constexpr (sizeof(Char) == 1) {
      Char byte = c < 0x80 ? static_cast<Char>(c) : '?';
      for (int b = 0; b < 128; ++b) {
        if (upper[b] == c) byte = static_cast<Char>(0x80 + b);
      }
      out += byte;
    } else if constexpr (sizeof(Char) == 2) {
      if (c >= 0x10000) {
        out += static_cast<Char>(0xD800 + ((c - 0x10000) >> 10));
        out += static_cast<Char>(0xDC00 + ((c - 0x10000) & 0x3FF));
      } else {
        out += static_cast<Char>(c);
      }
    } else {
      out += static_cast<Char>(c);
    }
  }
  return out;
}

std::u16string U16(const std::string& utf8) {
  return T<char16_t>(utf8);
}

const std::u16string kFolder = u"C:\\Docs";

using descriptions::HostRules;

// The hosts, each with its character type and its way of reading the file.
struct Far1Host {
  using Char = char;
  static constexpr HostRules kRules = descriptions::kCurrentGenerationRules;
};
struct Far3Host {
  using Char = char16_t;
  static constexpr HostRules kRules = descriptions::kCurrentGenerationRules;
};
struct Far2lHost {
  using Char = wchar_t;
  static constexpr HostRules kRules = descriptions::kFar2lRules;
};

// A panel's item names and what the reading gave them.
template <class Host>
struct Panel {
  using Char = typename Host::Char;
  std::vector<std::basic_string<Char>> names;
  std::vector<const Char*> pointers;
  std::vector<std::basic_string<Char>> shortNames;
  std::vector<const Char*> shortPointers;
  std::vector<uint64_t> sizes;
  ItemSizes itemSizes{};
  descriptions::HostSettings<Char> settings{nullptr, false};
  std::basic_string<Char> list;
  FolderDescriptions<Char> read{};
  bool found = false;

  explicit Panel(const std::vector<std::string>& itemNames) {
    for (const auto& name : itemNames) names.push_back(T<Char>(name));
    for (const auto& name : names) pointers.push_back(name.c_str());
  }
  ~Panel() { ReleaseFolderDescriptions(&read); }

  ItemStrings<Char> Strings() const {
    return {pointers.data(), sizeof(const Char*), true, static_cast<uint32_t>(pointers.size())};
  }

  void ShortNames(const std::vector<std::string>& given) {
    for (const auto& name : given) shortNames.push_back(T<Char>(name));
    for (const auto& name : shortNames) shortPointers.push_back(name.c_str());
  }

  void Sizes(const std::vector<uint64_t>& given) {
    sizes = given;
    itemSizes = {sizes.data(), sizeof(uint64_t), false};
  }

  // The host's list of names: null (absent) by default.
  void List(const std::string& names) {
    list = T<Char>(names);
    settings.fileNames = list.c_str();
  }

  bool Read() {
    ReleaseFolderDescriptions(&read);
    const auto folder = FolderAs();
    const ItemStrings<Char> shorts{shortPointers.empty() ? nullptr : shortPointers.data(),
                                   sizeof(const Char*), true,
                                   static_cast<uint32_t>(shortPointers.size())};
    const descriptions::FolderItems<Char> items{folder.c_str(), Strings(), shorts,
                                                sizes.empty() ? nullptr : &itemSizes};
    found = ReadFolderDescriptions<Char>(Host::kRules, settings, items, &read);
    return found;
  }

  static std::basic_string<Char> FolderAs() {
    std::basic_string<Char> folder;
    for (char16_t c : kFolder) folder += static_cast<Char>(c);
    return folder;
  }

  // The description of item i, or "<none>".
  std::basic_string<Char> Of(size_t i) const {
    if (!found || read.strings.At(i) == nullptr) return T<Char>("<none>");
    return read.strings.At(i);
  }
};

class DescriptionFileTest : public ::testing::Test {
 protected:
  void SetUp() override { fake::ResetSystem(); }
  void TearDown() override {
    EXPECT_EQ(fake::TheSystem().liveBlocks, 0) << "a block outlived the reading";
  }

  static void File(const Bytes& bytes, const std::u16string& name = u"Descript.ion") {
    fake::AddFile(kFolder, name, bytes);
  }
};

// Every behaviour of the lines and the file choice, for each host.
template <class Host>
class DescriptionFileRules : public DescriptionFileTest {};

using Hosts = ::testing::Types<Far1Host, Far3Host, Far2lHost>;
TYPED_TEST_SUITE(DescriptionFileRules, Hosts);

template <class Host>
constexpr bool kFar2l = Host::kRules.nulEndsLine;
template <class Host>
constexpr bool kWide = sizeof(typename Host::Char) > 1;

// ---- What a line holds ----

TYPED_TEST(DescriptionFileRules, ANameIsFollowedByItsDescriptionAfterBlanksWithoutTrailingBlanks) {
  using C = typename TypeParam::Char;
  this->File(
      B("a.txt plain A\r\n"
        "d.txt   three spaces before, trailing blanks   \r\n"
        "e.txt\ttab before\tand inside\r\n"
        "k.txt\t\t\ttabs only then text\t \r\n"
        "x y.txt unquoted with space\r\n"));
  Panel<TypeParam> panel({"a.txt", "d.txt", "e.txt", "k.txt", "x", "x y.txt"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("plain A"));
  EXPECT_EQ(panel.Of(1), T<C>("three spaces before, trailing blanks"));
  EXPECT_EQ(panel.Of(2), T<C>("tab before\tand inside"));
  EXPECT_EQ(panel.Of(3), T<C>("tabs only then text"));
  EXPECT_EQ(panel.Of(4), T<C>("y.txt unquoted with space"));
  EXPECT_EQ(panel.Of(5), T<C>("<none>"));
}

TYPED_TEST(DescriptionFileRules, AQuotedNameKeepsItsBlanksAndWithoutItsClosingQuoteRunsToTheEnd) {
  using C = typename TypeParam::Char;
  this->File(
      B("\"b c.txt\" quoted with space\r\n"
        "\"q.txt\"glued after quote\r\n"
        "\"unterm.txt no closing quote\r\n"
        "unterm.txt later line\r\n"
        "\"open.txt\r\n"
        "\"open.txt\" named before, without a description\r\n"
        "\" lead.txt\" blank inside the quotes\r\n"
        "plain.txt \"quoted desc\"\r\n"
        "\"\" empty name\r\n"));
  Panel<TypeParam> panel({"b c.txt", "q.txt", "unterm.txt", "open.txt", "lead.txt", "plain.txt"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("quoted with space"));
  EXPECT_EQ(panel.Of(1), T<C>("glued after quote"));
  EXPECT_EQ(panel.Of(2), T<C>("later line"));
  EXPECT_EQ(panel.Of(3), T<C>("<none>"));
  EXPECT_EQ(panel.Of(4), T<C>("<none>"));
  EXPECT_EQ(panel.Of(5), T<C>("\"quoted desc\""));
}

TYPED_TEST(DescriptionFileRules, LinesStartingWithABlankContinueTheDescriptionAndNameNothing) {
  using C = typename TypeParam::Char;
  this->File(
      B("  lead.txt leading blanks name\r\n"
        "cont.txt first part\r\n"
        " continuation with space\r\n"
        "\tcontinuation with tab\r\n"
        "\r\n"
        "after.txt after cont\r\n"));
  Panel<TypeParam> panel({"lead.txt", "cont.txt", "after.txt", "continuation"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("<none>"));
  EXPECT_EQ(panel.Of(1), T<C>("first part"));
  EXPECT_EQ(panel.Of(2), T<C>("after cont"));
  EXPECT_EQ(panel.Of(3), T<C>("<none>"));
}

TYPED_TEST(DescriptionFileRules, CrLfAndLoneCrOrLfAllEndLines) {
  using C = typename TypeParam::Char;
  this->File(B("a.txt A crlf\r\nb.txt B lf\nc.txt C cr\rd.txt D crcrlf\r\r\ne.txt E no end"));
  Panel<TypeParam> panel({"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("A crlf"));
  EXPECT_EQ(panel.Of(1), T<C>("B lf"));
  EXPECT_EQ(panel.Of(2), T<C>("C cr"));
  EXPECT_EQ(panel.Of(3), T<C>("D crcrlf"));
  EXPECT_EQ(panel.Of(4), T<C>("E no end"));
}

// far2l ends a line's text at a NUL; the current generation keeps reading,
// so that a name holding one names nothing.
TYPED_TEST(DescriptionFileRules, ANulEndsTheDescriptionWhileCtrlZIsText) {
  using C = typename TypeParam::Char;
  static const char kFile[] =
      "a.txt before\0after\r\n"
      "b.txt B\x1a after ctrlz\r\n"
      "\x1a\r\n"
      "c.txt after ctrlz line\r\n"
      "d.txt\0nul sep\r\n"
      "d.txt second line\r\n";
  this->File(B(std::string(kFile, sizeof kFile - 1)));
  Panel<TypeParam> panel({"a.txt", "b.txt", "c.txt", "d.txt"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("before"));
  EXPECT_EQ(panel.Of(1), T<C>("B\x1a after ctrlz"));
  EXPECT_EQ(panel.Of(2), T<C>("after ctrlz line"));
  EXPECT_EQ(panel.Of(3), T<C>(kFar2l<TypeParam> ? "<none>" : "second line"));
}

TYPED_TEST(DescriptionFileRules, TheFirstLineNamingAnItemWinsEvenWithoutADescription) {
  using C = typename TypeParam::Char;
  this->File(
      B("dup.txt first\r\ndup.txt second\r\nDUP.TXT third\r\n"
        "a.txt first\r\na.txt\r\n"
        "b.txt\r\nb.txt second\r\n"));
  Panel<TypeParam> panel({"dup.txt", "a.txt", "b.txt"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("first"));
  EXPECT_EQ(panel.Of(1), T<C>("first"));
  EXPECT_EQ(panel.Of(2), T<C>("<none>"));
}

TYPED_TEST(DescriptionFileRules, NamesMatchWithoutRegardToCaseAndItemsDifferingInCaseShareALine) {
  using C = typename TypeParam::Char;
  // As UTF-8 with a byte-order mark, so that every host reads the Cyrillic
  // name; Z and z are the ASCII fast paths' last letters, in an item's name
  // and in a line's.
  this->File(
      B("\xef\xbb\xbf"
        "MIXED2.TXT upper for mixed2\r\nfoo.txt lower\r\nFoo.txt upper\r\n"
        "\xd0\xaf\xd0\x91\xd0\x9b\xd0\x9e\xd0\x9a\xd0\x9e.txt apple\r\n"
        "zz.TXT zed\r\n"
        "\xd0\xb0.txt small a\r\nend.txt end\r\nbar.txt bar\r\n"));
  // bar.txt comes right before the item the line before named, and shares
  // its name with BAR.txt but for case.
  Panel<TypeParam> panel({"Mixed2.txt", "Foo.txt", "foo.txt", "FOO.txt",
                          "\xd1\x8f\xd0\xb1\xd0\xbb\xd0\xbe\xd0\xba\xd0\xbe.txt", "zZ.txt",
                          "\xd0\xb0.txt", "BAR.txt", "bar.txt", "end.txt"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("upper for mixed2"));
  EXPECT_EQ(panel.Of(1), T<C>("lower"));
  EXPECT_EQ(panel.Of(2), T<C>("lower"));
  EXPECT_EQ(panel.Of(3), T<C>("lower"));
  EXPECT_EQ(panel.Of(4), T<C>("apple"));
  EXPECT_EQ(panel.Of(5), T<C>("zed"));
  EXPECT_EQ(panel.Of(6), T<C>("small a"));
  EXPECT_EQ(panel.Of(7), T<C>("bar"));
  EXPECT_EQ(panel.Of(8), T<C>("bar"));
}

TYPED_TEST(DescriptionFileRules, CaseIsIgnoredInEveryScriptTheHostUpperCases) {
  using C = typename TypeParam::Char;
  if constexpr (kWide<TypeParam>) {
    // Latin Extended-B, Armenian, Georgian capitals' small letters, fullwidth
    // letters, Greek with accents.
    this->File(
        B("\xef\xbb\xbf"
          "\xc7\x84.txt latin extended b\r\n"
          "\xd4\xb1\xd5\x80.txt armenian\r\n"
          "\xe1\x82\xa0.txt georgian\r\n"
          "\xef\xbc\xa1\xef\xbc\xa2.txt fullwidth\r\n"
          "\xce\x86\xce\xa3.txt greek\r\n"));
    Panel<TypeParam> panel({"\xc7\x86.txt", "\xd5\xa1\xd5\xb0.txt", "\xe2\xb4\x80.txt",
                            "\xef\xbd\x81\xef\xbd\x82.txt", "\xce\xac\xcf\x83.txt"});
    ASSERT_TRUE(panel.Read());
    EXPECT_EQ(panel.Of(0), T<C>("latin extended b"));
    EXPECT_EQ(panel.Of(1), T<C>("armenian"));
    EXPECT_EQ(panel.Of(2), T<C>("georgian"));
    EXPECT_EQ(panel.Of(3), T<C>("fullwidth"));
    EXPECT_EQ(panel.Of(4), T<C>("greek"));
    EXPECT_GT(fake::TheSystem().upperCaseCalls, 0) << "the platform upper-cases";

    // Where the host's own comparison tells a pair apart (far2l's collation
    // does so for Georgian), it has the last word.
    fake::TheSystem().caseKeptInComparison = {0x2D00};
    ASSERT_TRUE(panel.Read());
    EXPECT_EQ(panel.Of(2), T<C>("<none>"));
    EXPECT_EQ(panel.Of(1), T<C>("armenian"));
  }
}

TYPED_TEST(DescriptionFileRules, ALineOf64KiBIsReadWholeAndTheNextLineAfterIt) {
  using C = typename TypeParam::Char;
  const std::string longText = std::string(65536, 'x') + " END";
  this->File(B("a.txt " + longText + "\r\nb.txt after long\r\n"));
  Panel<TypeParam> panel({"a.txt", "b.txt"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>(longText));
  EXPECT_EQ(panel.Of(1), T<C>("after long"));
}

TYPED_TEST(DescriptionFileRules, ABinaryFileGivesWhatItsLinesHold) {
  using C = typename TypeParam::Char;
  std::string noise;
  for (int i = 0; i < 3000; ++i) noise += static_cast<char>((i * 7919 + 13) % 251 + 3);
  this->File(B(noise + "\r\na.txt valid line in binary\r\n" + noise));
  Panel<TypeParam> panel({"a.txt", "b.txt"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("valid line in binary"));
  EXPECT_EQ(panel.Of(1), T<C>("<none>"));
}

// The current generation compares the size position by position, ',' and
// '.' standing for any digit; far2l leaves them out.
TYPED_TEST(DescriptionFileRules, ALeadingSizeEqualToTheItemsSizeIsLeftOutAsTheHostReadsIt) {
  using C = typename TypeParam::Char;
  this->File(
      B("a.txt 5 five bytes\r\nb.txt 1,234 with comma\r\nc.txt 6 wrong size\r\n"
        "d.txt 5\r\ne.txt 0   zero\r\nf.txt 5five glued\r\ng.txt 1,34 in place\r\n"
        "h.txt 987 nines\r\ni.txt 1.234 with dot\r\nj.txt 0005 leading zeros\r\n"
        "k.txt 100 hundred\r\n"));
  Panel<TypeParam> panel({"a.txt", "b.txt", "c.txt", "d.txt", "e.txt", "f.txt", "g.txt", "h.txt",
                          "i.txt", "j.txt", "k.txt"});
  panel.Sizes({5, 1234, 5, 5, 0, 5, 1234, 987, 1234, 5, 100});
  ASSERT_TRUE(panel.Read());
  const bool far2l = kFar2l<TypeParam>;
  EXPECT_EQ(panel.Of(0), T<C>("five bytes"));
  EXPECT_EQ(panel.Of(1), T<C>(far2l ? "with comma" : "1,234 with comma"));
  EXPECT_EQ(panel.Of(2), T<C>("6 wrong size"));
  EXPECT_EQ(panel.Of(3), T<C>("5"));
  EXPECT_EQ(panel.Of(4), T<C>("zero"));
  EXPECT_EQ(panel.Of(5), T<C>("5five glued"));
  EXPECT_EQ(panel.Of(6), T<C>(far2l ? "1,34 in place" : "in place"));
  EXPECT_EQ(panel.Of(7), T<C>("nines"));
  EXPECT_EQ(panel.Of(8), T<C>(far2l ? "with dot" : "1.234 with dot"));
  EXPECT_EQ(panel.Of(9), T<C>("0005 leading zeros"));
  EXPECT_EQ(panel.Of(10), T<C>("hundred"));

  // Sizes as WIN32_FIND_DATA holds them: the high half first.
  this->File(B("a.txt 4294967301 big\r\n"));
  const uint32_t halves[] = {1, 5};
  panel.itemSizes = {halves, 0, true};
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("big"));
}

TYPED_TEST(DescriptionFileRules, OnlyFar2lGivesANameWithATrailingDotToTheItemWithoutExtension) {
  using C = typename TypeParam::Char;
  this->File(B("noext. dotted name\r\nfile.txt. not for file.txt\r\nother plain\r\n"));
  Panel<TypeParam> panel({"noext", "file.txt", "other"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>(kFar2l<TypeParam> ? "dotted name" : "<none>"));
  EXPECT_EQ(panel.Of(1), T<C>("<none>"));
}

// Both hosts take U+3000 for a blank; the current generation takes the
// no-break space too, and trims every Unicode space from a line's end.
TYPED_TEST(DescriptionFileRules, BlanksAndTheTrimmedEndAreTheHostsOwn) {
  using C = typename TypeParam::Char;
  this->File(
      B("\xef\xbb\xbf"
        "a.txt\xe3\x80\x80ideographic\xe3\x80\x80\r\n"
        "b.txt\xc2\xa0no-break\r\n"
        "c.txt form feeds\v\f\r\n"
        "d.txt en space\xe2\x80\x82\r\n"));
  Panel<TypeParam> panel({"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("ideographic"));
  if constexpr (kFar2l<TypeParam>) {
    EXPECT_EQ(panel.Of(1), T<C>("<none>"));
    EXPECT_EQ(panel.Of(2), T<C>("form feeds\v\f"));
    EXPECT_EQ(panel.Of(3), T<C>("en space\xe2\x80\x82"));
  } else {
    EXPECT_EQ(panel.Of(1), T<C>("no-break"));
    EXPECT_EQ(panel.Of(2), T<C>("form feeds"));
    EXPECT_EQ(panel.Of(3), T<C>("en space"));
  }
  // In a code page, by the character its byte stands for: 0xFF is CP866's
  // no-break space.
  this->File(B("e.txt\xFFno-break\r\n"));
  ASSERT_EQ(panel.Read(), !kFar2l<TypeParam>);
  EXPECT_EQ(panel.Of(4), T<C>(kFar2l<TypeParam> ? "<none>" : "no-break"));
}

TYPED_TEST(DescriptionFileRules, OnlyFar2lReadsUtf32) {
  using C = typename TypeParam::Char;
  for (bool bigEndian : {false, true}) {
    Bytes utf32 = bigEndian ? Bytes{0, 0, 0xFE, 0xFF} : Bytes{0xFF, 0xFE, 0, 0};
    for (char32_t c : CodePoints("a.txt utf32 A\r\nb.txt Привет 😀\r\n")) {
      for (int k = 0; k < 4; ++k) {
        const int shift = bigEndian ? 24 - 8 * k : 8 * k;
        utf32.push_back(static_cast<uint8_t>(c >> shift));
      }
    }
    this->File(utf32);
    Panel<TypeParam> panel({"a.txt", "b.txt"});
    EXPECT_EQ(panel.Read(), kFar2l<TypeParam>);
    EXPECT_EQ(panel.Of(1), T<C>(kFar2l<TypeParam> ? "Привет 😀" : "<none>"));
  }
}

// ---- Encodings ----

TYPED_TEST(DescriptionFileRules, WithoutAByteOrderMarkTheFileIsInTheOemCodePageEvenIfItIsUtf8) {
  using C = typename TypeParam::Char;
  // CP866 bytes of "Привет мир", then the UTF-8 bytes of "Пр" read as CP866.
  this->File(B("a.txt \x8F\xE0\xA8\xA2\xA5\xE2 \xAC\xA8\xE0\r\nb.txt \xD0\x9F\xD1\x80\r\n"));
  Panel<TypeParam> panel({"a.txt", "b.txt"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("Привет мир"));
  EXPECT_EQ(panel.Of(1), T<C>("╨Я╤А"));
}

TYPED_TEST(DescriptionFileRules, TheHostsAnsiSettingReadsAFileWithoutAMarkInTheAnsiCodePage) {
  using C = typename TypeParam::Char;
  // CP1251 bytes of "Привет", and a CP1251 name.
  this->File(B("a.txt \xCF\xF0\xE8\xE2\xE5\xF2\r\n\xDF.txt ya\r\n"));
  Panel<TypeParam> panel({"a.txt", "я.txt"});
  panel.settings.ansi = true;
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("Привет"));
  EXPECT_EQ(panel.Of(1), T<C>("ya"));
}

TYPED_TEST(DescriptionFileRules, Utf8AndUtf16WithAByteOrderMarkAreDecoded) {
  using C = typename TypeParam::Char;
  // U+10000 and U+103FF: the first character needing a pair, and a pair
  // whose low half is the last one.
  const std::string text =
      "a.txt Привет мир\r\nb.txt café ü\r\nc.txt € 😀 𐀀𐏿\r\n";
  Panel<TypeParam> panel({"a.txt", "b.txt", "c.txt"});
  // In CP866 é and ü are missing (default character) and so is the rest.
  const auto b = sizeof(C) == 1 ? T<C>("caf? ?") : T<C>("café ü");
  const auto c = sizeof(C) == 1 ? T<C>("? ? ??") : T<C>("€ 😀 𐀀𐏿");

  this->File(B("\xef\xbb\xbf" + text));
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("Привет мир"));
  EXPECT_EQ(panel.Of(1), b);
  EXPECT_EQ(panel.Of(2), c);

  for (bool bigEndian : {false, true}) {
    Bytes utf16 = bigEndian ? Bytes{0xFE, 0xFF} : Bytes{0xFF, 0xFE};
    for (char16_t unit : U16(text)) {
      const auto low = static_cast<uint8_t>(unit & 0xFF);
      const auto high = static_cast<uint8_t>(unit >> 8);
      utf16.push_back(bigEndian ? high : low);
      utf16.push_back(bigEndian ? low : high);
    }
    this->File(utf16);
    ASSERT_TRUE(panel.Read()) << "big endian " << bigEndian;
    EXPECT_EQ(panel.Of(0), T<C>("Привет мир"));
    EXPECT_EQ(panel.Of(1), b);
    EXPECT_EQ(panel.Of(2), c);
  }
}

// The 1.x DLL converts Unicode to its code page a piece at a time: a pair
// of surrogates at a piece's edge stays one character.
TYPED_TEST(DescriptionFileRules, ACharacterBeyondTheBmpAtAPiecesEdgeStaysOneCharacter) {
  using C = typename TypeParam::Char;
  for (size_t before : {253, 254, 255, 256}) {
    const std::string text = std::string(before, 'x') + "\xf0\x9f\x98\x80y";
    Panel<TypeParam> panel({"a.txt"});
    this->File(
        B("\xef\xbb\xbf"
          "a.txt " +
          text + "\r\n"));
    ASSERT_TRUE(panel.Read());
    EXPECT_EQ(panel.Of(0), T<C>(text)) << "UTF-8, " << before;
    Bytes utf16{0xFF, 0xFE};
    for (char16_t unit : U16("a.txt " + text)) {
      utf16.push_back(static_cast<uint8_t>(unit & 0xFF));
      utf16.push_back(static_cast<uint8_t>(unit >> 8));
    }
    this->File(utf16);
    ASSERT_TRUE(panel.Read());
    EXPECT_EQ(panel.Of(0), T<C>(text)) << "UTF-16, " << before;
  }
}

TYPED_TEST(DescriptionFileRules, BadUtf8BecomesReplacementCharacters) {
  using C = typename TypeParam::Char;
  this->File(
      B("\xef\xbb\xbf"
        "a.txt ok \xd0\x9f then \xff\xc3 \xed\xa0\x80 \xf0\x9f\x98 \xe0\x80\xaf\r\n"));
  Panel<TypeParam> panel({"a.txt"});
  ASSERT_TRUE(panel.Read());
  // Each bad byte is one U+FFFD, which CP866 lacks; an overlong '/' too.
  const auto bad = sizeof(C) == 1 ? std::string("?") : std::string("\xef\xbf\xbd");
  EXPECT_EQ(panel.Of(0), T<C>("ok П then " + bad + bad + " " + bad + bad + bad + " " + bad + bad +
                              bad + " " + bad + bad + bad));
}

TYPED_TEST(DescriptionFileRules, Utf16WithAnOddLastByteReadsItAsOneMoreCharacter) {
  using C = typename TypeParam::Char;
  Bytes utf16{0xFF, 0xFE};
  for (char16_t unit : std::u16string(u"a.txt A16\r\nb.txt B16")) {
    utf16.push_back(static_cast<uint8_t>(unit));
    utf16.push_back(0);
  }
  utf16.push_back('X');
  this->File(utf16);
  Panel<TypeParam> panel({"a.txt", "b.txt"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(1), T<C>("B16X"));
}

TYPED_TEST(DescriptionFileRules, UnpairedSurrogatesInUtf16AreKeptOnlyWhereCharIsUtf16) {
  using C = typename TypeParam::Char;
  Bytes utf16{0xFF, 0xFE};
  for (char16_t unit : std::u16string(u"a.txt x\xD800y\xDC00z\r\n")) {
    utf16.push_back(static_cast<uint8_t>(unit & 0xFF));
    utf16.push_back(static_cast<uint8_t>(unit >> 8));
  }
  this->File(utf16);
  Panel<TypeParam> panel({"a.txt"});
  ASSERT_TRUE(panel.Read());
  if constexpr (sizeof(C) == 2) {
    EXPECT_EQ(panel.Of(0), std::u16string(u"x\xD800y\xDC00z"));
  } else {
    EXPECT_EQ(panel.Of(0), T<C>("x\xef\xbf\xbdy\xef\xbf\xbdz"));  // U+FFFD, or '?' in CP866
  }
}

// ---- Names the file may use instead ----

TYPED_TEST(DescriptionFileRules, AnItemIsFoundByItsShortNameWhereItsNameIsNotInTheFile) {
  using C = typename TypeParam::Char;
  this->File(
      B("LONGNA~1.TXT by short name\r\nboth.txt by name\r\nBOTH~1.TXT by short name\r\n"
        "LATE~1.TXT short name first\r\n\"late name.txt\" name later\r\n"
        "LONGNA~1.TXT short name again\r\n"));
  Panel<TypeParam> panel({"long name.txt", "both.txt", "plain.txt", "late name.txt"});
  panel.ShortNames({"LONGNA~1.TXT", "BOTH~1.TXT", "", "LATE~1.TXT"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("by short name"));
  EXPECT_EQ(panel.Of(1), T<C>("by name"));
  EXPECT_EQ(panel.Of(2), T<C>("<none>"));
  EXPECT_EQ(panel.Of(3), T<C>("name later")) << "the name counts before the short name";
}

TYPED_TEST(DescriptionFileRules, ANameTheCodePageCannotHoldIsFoundRoundTripped) {
  using C = typename TypeParam::Char;
  if constexpr (kWide<TypeParam>) {
    // 日本.txt written by a program into the OEM file, which lost both
    // characters; a name the page holds is not looked up so. A line naming
    // one item by its name names another by its round trip too.
    this->File(B("??.txt japanese\r\n?.txt not for a\r\n\x8F.txt pe\r\n"));
    Panel<TypeParam> panel({"日本.txt", "a.txt", "П.txt", "?.txt", "本.txt"});
    ASSERT_TRUE(panel.Read());
    EXPECT_EQ(panel.Of(0), T<C>("japanese"));
    EXPECT_EQ(panel.Of(1), T<C>("<none>"));
    EXPECT_EQ(panel.Of(2), T<C>("pe"));
    EXPECT_EQ(panel.Of(3), T<C>("not for a"));
    EXPECT_EQ(panel.Of(4), T<C>("not for a"));

    // Not in a file with a byte-order mark.
    this->File(B("\xef\xbb\xbf??.txt japanese\r\n"));
    EXPECT_FALSE(panel.Read());
  }
}

TYPED_TEST(DescriptionFileRules, TheNameThenTheShortNameThenTheRoundTripsHoldInTheHostsOrder) {
  using C = typename TypeParam::Char;
  if constexpr (kWide<TypeParam>) {
    this->File(B("??.txt round trip\r\nSHORT~1.TXT short\r\n"));
    Panel<TypeParam> panel({"日本.txt"});
    panel.ShortNames({"SHORT~1.TXT"});
    ASSERT_TRUE(panel.Read());
    EXPECT_EQ(panel.Of(0), T<C>("short"));
  }
}

// ---- Which file ----

TYPED_TEST(DescriptionFileRules, TheFirstExistingFileOfTheListDecidesWhateverItHolds) {
  using C = typename TypeParam::Char;
  this->File(B("a.txt from files.bbs\r\n"), u"Files.bbs");
  Panel<TypeParam> panel({"a.txt"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("from files.bbs"));

  this->File(B("a.txt from descript.ion\r\n"), u"DESCRIPT.ION");
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("from descript.ion"));

  // An empty first file, or one naming none of the items, still decides.
  this->File(B(""), u"DESCRIPT.ION");
  EXPECT_FALSE(panel.Read());
  this->File(B("other.txt other\r\n"), u"DESCRIPT.ION");
  EXPECT_FALSE(panel.Read());
}

TYPED_TEST(DescriptionFileRules, AFileThatCannotBeUsedPassesTheTurnToTheNextName) {
  using C = typename TypeParam::Char;
  this->File(B("a.txt from files.bbs\r\n"), u"Files.bbs");
  Panel<TypeParam> panel({"a.txt"});
  for (auto kind :
       {sys::FileRead::kNotAFile, sys::FileRead::kUnreadable, sys::FileRead::kTooLarge}) {
    fake::AddFile(kFolder, u"Descript.ion", {}, kind);
    ASSERT_TRUE(panel.Read()) << static_cast<int>(kind);
    EXPECT_EQ(panel.Of(0), T<C>("from files.bbs"));
  }
  // Over the limit, not a byte is read; at the limit it is read.
  Bytes huge(descriptions::kMaxDescriptionFileBytes + 1, 'x');
  this->File(huge);
  fake::TheSystem().fileSystem.bytesRead = 0;
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(fake::TheSystem().fileSystem.bytesRead, 22u);
  huge.pop_back();
  const std::string line = "\na.txt last byte of the limit\r\n";
  std::copy(line.begin(), line.end(), huge.end() - static_cast<long>(line.size()));
  this->File(huge);
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("last byte of the limit"));

  fake::AddFile(kFolder, u"Files.bbs", {}, sys::FileRead::kUnreadable);
  fake::AddFile(kFolder, u"Descript.ion", {}, sys::FileRead::kUnreadable);
  EXPECT_FALSE(panel.Read());
  EXPECT_EQ(panel.read.texts, nullptr);
}

TYPED_TEST(DescriptionFileRules, TheHostsListIsSplitAsTheHostSplitsIt) {
  using C = typename TypeParam::Char;
  this->File(B("a.txt from descript.ion\r\n"));
  this->File(B("a.txt from dir;info\r\n"), u"Dir;Info");
  this->File(B("a.txt from notes\r\n"), u"notes");
  Panel<TypeParam> panel({"a.txt"});
  // The current generation: ',' and ';' outside quotes, the quotes dropped.
  // far2l: ',' alone, blanks after it skipped.
  panel.List(",\"dir;info\",Descript.ion");
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>(kFar2l<TypeParam> ? "from descript.ion" : "from dir;info"));
  panel.List("missing;notes, Descript.ion");
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>(kFar2l<TypeParam> ? "from descript.ion" : "from notes"));
  const auto& lookups = fake::TheSystem().fileSystem.lookups;
  EXPECT_EQ(lookups.back(), kFolder + (kFar2l<TypeParam> ? u"|Descript.ion" : u"|notes"));
}

TYPED_TEST(DescriptionFileRules, AnEmptyListNamesNoFileWhileNoListMeansTheDefaultNames) {
  this->File(B("a.txt A\r\n"));
  Panel<TypeParam> panel({"a.txt"});
  panel.List("");
  EXPECT_FALSE(panel.Read());
  EXPECT_TRUE(fake::TheSystem().fileSystem.lookups.empty());
  panel.settings.fileNames = nullptr;
  EXPECT_TRUE(panel.Read());
}

TYPED_TEST(DescriptionFileRules, TheFileIsOpenedByTheItemsOwnSpelling) {
  using C = typename TypeParam::Char;
  this->File(B("a.txt A\r\n"), u"descript.ion");
  Panel<TypeParam> panel({"a.txt", "DESCRIPT.ion"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("A"));
  ASSERT_EQ(fake::TheSystem().fileSystem.lookups.size(), 1u);
  EXPECT_EQ(fake::TheSystem().fileSystem.lookups[0], kFolder + u"|DESCRIPT.ion");
}

// ---- Files that cannot be used ----

TYPED_TEST(DescriptionFileRules, RunningOutOfMemoryGivesNothing) {
  this->File(B("a.txt A\r\n"));
  fake::TheSystem().allocationFails = true;
  Panel<TypeParam> panel({"a.txt"});
  EXPECT_FALSE(panel.Read());
  EXPECT_EQ(panel.read.texts, nullptr);
}

TYPED_TEST(DescriptionFileRules, AFolderPathAtTheLengthLimitIsReadAndOneLongerIsRefused) {
  using C = typename TypeParam::Char;
  Panel<TypeParam> panel({"a.txt"});
  for (uint32_t length : {sys::kMaxPathUnits, sys::kMaxPathUnits + 1}) {
    std::basic_string<C> folder(length, C('d'));
    fake::AddFile(std::u16string(length, u'd'), u"Descript.ion", B("a.txt A\r\n"));
    const descriptions::FolderItems<C> items{folder.c_str(), panel.Strings(), {}, nullptr};
    const bool found =
        ReadFolderDescriptions<C>(TypeParam::kRules, {nullptr, false}, items, &panel.read);
    EXPECT_EQ(found, length == sys::kMaxPathUnits) << length;
    ReleaseFolderDescriptions(&panel.read);
  }
}

// ---- The items ----

TYPED_TEST(DescriptionFileRules, NamesHeldInsideTheItemRecordsAndNullNamesAreRead) {
  using C = typename TypeParam::Char;
  this->File(B("a.txt A\r\nb.txt B\r\n"));
  struct Record {
    C name[12];
    char rest[5];
  };
  Record records[3]{};
  const auto a = T<C>("a.txt");
  const auto b = T<C>("b.txt");
  std::copy(a.begin(), a.end(), records[0].name);
  std::copy(b.begin(), b.end(), records[2].name);
  FolderDescriptions<C> read{};
  const auto folder = Panel<TypeParam>::FolderAs();
  const descriptions::FolderItems<C> items{
      folder.c_str(), ItemStrings<C>{records, sizeof(Record), false, 3}, {}, nullptr};
  ASSERT_TRUE(ReadFolderDescriptions<C>(TypeParam::kRules, {nullptr, false}, items, &read));
  EXPECT_EQ(std::basic_string<C>(read.strings.At(0)), T<C>("A"));
  EXPECT_EQ(read.strings.At(1), nullptr);
  EXPECT_EQ(std::basic_string<C>(read.strings.At(2)), T<C>("B"));
  ReleaseFolderDescriptions(&read);

  Panel<TypeParam> panel({"a.txt", "", "b.txt"});
  panel.pointers[1] = nullptr;
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(1), T<C>("<none>"));
  EXPECT_EQ(panel.Of(2), T<C>("B"));
}

// An index of n names has more than 2n slots: a line naming no item always
// meets an empty one, also where n fills a power of two.
TEST_F(DescriptionFileTest, ALineNamingNoItemEndsItsSearchWhateverTheCount) {
  File(B("absent.txt nothing\r\nf0 first\r\n"));
  for (int count : {7, 8, 16, 31, 32}) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back("f" + std::to_string(i));
    Panel<Far3Host> panel(names);
    ASSERT_TRUE(panel.Read()) << count;
    EXPECT_EQ(panel.Of(0), u"first");
  }
}

TEST_F(DescriptionFileTest, AMillionItemsAreMatchedThroughTheIndex) {
  constexpr int kItems = 1000000;
  std::string file;
  for (int i = 0; i < kItems; i += 1000)
    file += "f" + std::to_string(i) + ".txt d" + std::to_string(i) + "\n";
  File(B(file));
  // All names in one buffer: "F0.TXT\0F1.TXT\0...".
  std::u16string buffer;
  std::vector<size_t> starts;
  for (int i = 0; i < kItems; ++i) {
    starts.push_back(buffer.size());
    for (char c : "F" + std::to_string(i) + ".TXT") buffer += static_cast<char16_t>(c);
    buffer += u'\0';
  }
  std::vector<const char16_t*> names;
  for (size_t start : starts) names.push_back(buffer.data() + start);
  FolderDescriptions<char16_t> read{};
  const std::u16string list = u"Descript.ion";
  const descriptions::FolderItems<char16_t> items{
      kFolder.c_str(), {names.data(), sizeof(names[0]), true, kItems}, {}, nullptr};
  ASSERT_TRUE(ReadFolderDescriptions<char16_t>(descriptions::kCurrentGenerationRules,
                                               {list.c_str(), false}, items, &read));
  EXPECT_EQ(std::u16string(read.strings.At(999000)), u"d999000");
  EXPECT_EQ(read.strings.At(999001), nullptr);
  ReleaseFolderDescriptions(&read);
}

// ---- Case ----

TEST(CaseFolding, TheOemTableUpperCasesTheCodePagesOwnLettersOnly) {
  fake::ResetSystem();
  descriptions::OemUpperCase table;
  descriptions::BuildOemUpperCase(&table);
  EXPECT_EQ(table.upper[static_cast<uint8_t>('q')], 'Q');
  EXPECT_EQ(table.upper[static_cast<uint8_t>('z')], 'Z');
  EXPECT_EQ(table.upper[static_cast<uint8_t>('{')], '{');
  EXPECT_EQ(table.upper[0xA0], 0x80);  // а to А
  EXPECT_EQ(table.upper[0xEF], 0x9F);  // я to Я
  EXPECT_EQ(table.upper[0xF1], 0xF0);  // ё to Ё
  EXPECT_EQ(table.upper[0x80], 0x80);
  EXPECT_EQ(table.upper[0xC9], 0xC9);  // a box corner stays
  EXPECT_EQ(fake::TheSystem().liveBlocks, 0);
}

}  // namespace
