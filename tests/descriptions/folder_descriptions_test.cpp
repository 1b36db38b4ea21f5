// The plug-in's own reading of a folder's description file: the line rules,
// the encodings, the name matching and the choice of file, for the three
// character types (OEM bytes, UTF-16, UTF-32), against the stand-in file
// system and a CP866 OEM code page.
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

// A panel's item names and what the reading gave them.
template <class Char>
struct Panel {
  std::vector<std::basic_string<Char>> names;
  std::vector<const Char*> pointers;
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

  bool Read(const std::string& fileNames = "") {
    const auto folder = FolderAs();
    const auto list = T<Char>(fileNames);
    found = ReadFolderDescriptions<Char>(folder.c_str(), fileNames.empty() ? nullptr : list.c_str(),
                                         Strings(), &read);
    return found;
  }

  static std::basic_string<Char> FolderAs() {
    std::basic_string<Char> folder;
    for (char16_t c : kFolder) folder += static_cast<Char>(c);
    return folder;
  }

  // The description of item i as UTF-8-free text of Char, or "<none>".
  std::basic_string<Char> Of(size_t i) const {
    if (!found || read.perItem[i] == nullptr) return T<Char>("<none>");
    return read.perItem[i];
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

// Every behaviour of the lines and the file choice, for each character type.
template <class Char>
class DescriptionFileRules : public DescriptionFileTest {};

using CharTypes = ::testing::Types<char, char16_t, wchar_t>;
TYPED_TEST_SUITE(DescriptionFileRules, CharTypes);

// ---- What a line holds ----

TYPED_TEST(DescriptionFileRules, ANameIsFollowedByItsDescriptionAfterBlanksWithoutTrailingBlanks) {
  using C = TypeParam;
  this->File(
      B("a.txt plain A\r\n"
        "d.txt   three spaces before, trailing blanks   \r\n"
        "e.txt\ttab before\tand inside\r\n"
        "k.txt\t\t\ttabs only then text\t \r\n"
        "x y.txt unquoted with space\r\n"));
  Panel<C> panel({"a.txt", "d.txt", "e.txt", "k.txt", "x", "x y.txt"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("plain A"));
  EXPECT_EQ(panel.Of(1), T<C>("three spaces before, trailing blanks"));
  EXPECT_EQ(panel.Of(2), T<C>("tab before\tand inside"));
  EXPECT_EQ(panel.Of(3), T<C>("tabs only then text"));
  EXPECT_EQ(panel.Of(4), T<C>("y.txt unquoted with space"));
  EXPECT_EQ(panel.Of(5), T<C>("<none>"));
}

TYPED_TEST(DescriptionFileRules, QuotedNamesKeepTheirBlanksAndNeedTheirClosingQuote) {
  using C = TypeParam;
  this->File(
      B("\"b c.txt\" quoted with space\r\n"
        "\"q.txt\"glued after quote\r\n"
        "\"unterm.txt no closing quote\r\n"
        "\" lead.txt\" blank inside the quotes\r\n"
        "plain.txt \"quoted desc\"\r\n"
        "\"\" empty name\r\n"));
  Panel<C> panel({"b c.txt", "q.txt", "unterm.txt", "lead.txt", "plain.txt"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("quoted with space"));
  EXPECT_EQ(panel.Of(1), T<C>("glued after quote"));
  EXPECT_EQ(panel.Of(2), T<C>("<none>"));
  EXPECT_EQ(panel.Of(3), T<C>("<none>"));
  EXPECT_EQ(panel.Of(4), T<C>("\"quoted desc\""));
}

TYPED_TEST(DescriptionFileRules, LinesStartingWithABlankContinueTheDescriptionAndNameNothing) {
  using C = TypeParam;
  this->File(
      B("  lead.txt leading blanks name\r\n"
        "cont.txt first part\r\n"
        " continuation with space\r\n"
        "\tcontinuation with tab\r\n"
        "\r\n"
        "after.txt after cont\r\n"));
  Panel<C> panel({"lead.txt", "cont.txt", "after.txt", "continuation"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("<none>"));
  EXPECT_EQ(panel.Of(1), T<C>("first part"));
  EXPECT_EQ(panel.Of(2), T<C>("after cont"));
  EXPECT_EQ(panel.Of(3), T<C>("<none>"));
}

TYPED_TEST(DescriptionFileRules, CrLfAndLoneCrOrLfAllEndLines) {
  using C = TypeParam;
  this->File(B("a.txt A crlf\r\nb.txt B lf\nc.txt C cr\rd.txt D crcrlf\r\r\ne.txt E no end"));
  Panel<C> panel({"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("A crlf"));
  EXPECT_EQ(panel.Of(1), T<C>("B lf"));
  EXPECT_EQ(panel.Of(2), T<C>("C cr"));
  EXPECT_EQ(panel.Of(3), T<C>("D crcrlf"));
  EXPECT_EQ(panel.Of(4), T<C>("E no end"));
}

TYPED_TEST(DescriptionFileRules, ANulEndsItsLineWhileCtrlZIsText) {
  using C = TypeParam;
  static const char kFile[] =
      "a.txt before\0after\r\n"
      "b.txt B\x1a after ctrlz\r\n"
      "\x1a\r\n"
      "c.txt after ctrlz line\r\n"
      "d.txt\0nul sep\r\n";
  this->File(B(std::string(kFile, sizeof kFile - 1)));
  Panel<C> panel({"a.txt", "b.txt", "c.txt", "d.txt"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("before"));
  EXPECT_EQ(panel.Of(1), T<C>("B\x1a after ctrlz"));
  EXPECT_EQ(panel.Of(2), T<C>("after ctrlz line"));
  EXPECT_EQ(panel.Of(3), T<C>("<none>"));
}

TYPED_TEST(DescriptionFileRules, TheLastLineNamingAnItemWinsEvenWithoutADescription) {
  using C = TypeParam;
  this->File(
      B("dup.txt first\r\ndup.txt second\r\nDUP.TXT third\r\n"
        "a.txt first\r\na.txt\r\n"
        "b.txt\r\nb.txt second\r\n"));
  Panel<C> panel({"dup.txt", "a.txt", "b.txt"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("third"));
  EXPECT_EQ(panel.Of(1), T<C>("<none>"));
  EXPECT_EQ(panel.Of(2), T<C>("second"));
}

TYPED_TEST(DescriptionFileRules, NamesMatchWithoutRegardToCaseAndItemsDifferingInCaseShareALine) {
  using C = TypeParam;
  // As UTF-8 with a byte-order mark, so that every character type reads the
  // Cyrillic name.
  Bytes bytes = B("\xef\xbb\xbf");
  const Bytes body =
      B("MIXED2.TXT upper for mixed2\r\nfoo.txt lower\r\nFoo.txt upper\r\n"
        "\xd0\xaf\xd0\x91\xd0\x9b\xd0\x9e\xd0\x9a\xd0\x9e.txt apple\r\n");
  bytes.insert(bytes.end(), body.begin(), body.end());
  this->File(bytes);
  Panel<C> panel(
      {"Mixed2.txt", "Foo.txt", "foo.txt", "\xd1\x8f\xd0\xb1\xd0\xbb\xd0\xbe\xd0\xba\xd0\xbe.txt"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("upper for mixed2"));
  EXPECT_EQ(panel.Of(1), T<C>("upper"));
  EXPECT_EQ(panel.Of(2), T<C>("upper"));
  EXPECT_EQ(panel.Of(3), T<C>("apple"));
}

TYPED_TEST(DescriptionFileRules, ALineOf64KiBIsReadWholeAndTheNextLineAfterIt) {
  using C = TypeParam;
  const std::string longText = std::string(65536, 'x') + " END";
  this->File(B("a.txt " + longText + "\r\nb.txt after long\r\n"));
  Panel<C> panel({"a.txt", "b.txt"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>(longText));
  EXPECT_EQ(panel.Of(1), T<C>("after long"));
}

TYPED_TEST(DescriptionFileRules, ABinaryFileGivesWhatItsLinesHold) {
  using C = TypeParam;
  std::string noise;
  for (int i = 0; i < 3000; ++i) noise += static_cast<char>((i * 7919 + 13) % 251 + 3);
  this->File(B(noise + "\r\na.txt valid line in binary\r\n" + noise));
  Panel<C> panel({"a.txt", "b.txt"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("valid line in binary"));
  EXPECT_EQ(panel.Of(1), T<C>("<none>"));
}

// Where the hosts differ, far2l's rules hold for UTF-32 wchar_t.
template <class Char>
constexpr bool kFar2l = sizeof(Char) == 4;

TYPED_TEST(DescriptionFileRules, ALeadingSizeEqualToTheItemsSizeIsLeftOut) {
  using C = TypeParam;
  this->File(
      B("a.txt 5 five bytes\r\nb.txt 1,234 with comma\r\nc.txt 6 wrong size\r\n"
        "d.txt 5\r\ne.txt 0   zero\r\nf.txt 5five glued\r\n"));
  Panel<C> panel({"a.txt", "b.txt", "c.txt", "d.txt", "e.txt", "f.txt"});
  const uint64_t sizes[] = {5, 1234, 5, 5, 0, 5};
  const ItemSizes itemSizes{sizes, sizeof(uint64_t), false};
  const auto folder = Panel<C>::FolderAs();
  panel.found =
      ReadFolderDescriptions<C>(folder.c_str(), nullptr, panel.Strings(), &panel.read, &itemSizes);
  ASSERT_TRUE(panel.found);
  EXPECT_EQ(panel.Of(0), T<C>("five bytes"));
  EXPECT_EQ(panel.Of(1), T<C>(kFar2l<C> ? "with comma" : "1,234 with comma"));
  EXPECT_EQ(panel.Of(2), T<C>("6 wrong size"));
  EXPECT_EQ(panel.Of(3), T<C>("5"));
  EXPECT_EQ(panel.Of(4), T<C>("zero"));
  EXPECT_EQ(panel.Of(5), T<C>("5five glued"));
  ReleaseFolderDescriptions(&panel.read);

  // Sizes as WIN32_FIND_DATA holds them: the high half first.
  this->File(B("a.txt 4294967301 big\r\n"));
  const uint32_t halves[] = {1, 5};
  const ItemSizes findData{halves, 0, true};
  ASSERT_TRUE(
      ReadFolderDescriptions<C>(folder.c_str(), nullptr, panel.Strings(), &panel.read, &findData));
  EXPECT_EQ(std::basic_string<C>(panel.read.perItem[0]), T<C>("big"));
}

TYPED_TEST(DescriptionFileRules, OnlyFar2lGivesANameWithATrailingDotToTheItemWithoutExtension) {
  using C = TypeParam;
  this->File(B("noext. dotted name\r\nother plain\r\n"));
  Panel<C> panel({"noext", "other"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>(kFar2l<C> ? "dotted name" : "<none>"));
}

TYPED_TEST(DescriptionFileRules, OnlyFar2lReadsUtf32) {
  using C = TypeParam;
  for (bool bigEndian : {false, true}) {
    Bytes utf32 = bigEndian ? Bytes{0, 0, 0xFE, 0xFF} : Bytes{0xFF, 0xFE, 0, 0};
    for (char32_t c : CodePoints("a.txt utf32 A\r\nb.txt Привет 😀\r\n")) {
      for (int k = 0; k < 4; ++k) {
        const int shift = bigEndian ? 24 - 8 * k : 8 * k;
        utf32.push_back(static_cast<uint8_t>(c >> shift));
      }
    }
    this->File(utf32);
    Panel<C> panel({"a.txt", "b.txt"});
    EXPECT_EQ(panel.Read(), kFar2l<C>);
    EXPECT_EQ(panel.Of(1), T<C>(kFar2l<C> ? "Привет 😀" : "<none>"));
  }
}

// ---- Encodings ----

TYPED_TEST(DescriptionFileRules, WithoutAByteOrderMarkTheFileIsInTheOemCodePageEvenIfItIsUtf8) {
  using C = TypeParam;
  // CP866 bytes of "Привет мир", then the UTF-8 bytes of "Пр" read as CP866.
  this->File(B("a.txt \x8F\xE0\xA8\xA2\xA5\xE2 \xAC\xA8\xE0\r\nb.txt \xD0\x9F\xD1\x80\r\n"));
  Panel<C> panel({"a.txt", "b.txt"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("Привет мир"));
  EXPECT_EQ(panel.Of(1), T<C>("╨Я╤А"));
}

TYPED_TEST(DescriptionFileRules, Utf8AndUtf16WithAByteOrderMarkAreDecoded) {
  using C = TypeParam;
  const std::string text = "a.txt Привет мир\r\nb.txt café ü\r\nc.txt € 😀\r\n";
  Panel<C> panel({"a.txt", "b.txt", "c.txt"});
  // In CP866 é and ü are missing (default character) and so are € and 😀.
  const auto b = sizeof(C) == 1 ? T<C>("caf? ?") : T<C>("café ü");
  const auto c = sizeof(C) == 1 ? T<C>("? ?") : T<C>("€ 😀");

  this->File(B("\xef\xbb\xbf" + text));
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("Привет мир"));
  EXPECT_EQ(panel.Of(1), b);
  EXPECT_EQ(panel.Of(2), c);
  ReleaseFolderDescriptions(&panel.read);

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
    ReleaseFolderDescriptions(&panel.read);
  }
}

TYPED_TEST(DescriptionFileRules, BadUtf8BecomesReplacementCharacters) {
  using C = TypeParam;
  this->File(
      B("\xef\xbb\xbf"
        "a.txt ok \xd0\x9f then \xff\xc3 \xed\xa0\x80 \xf0\x9f\x98\r\n"));
  Panel<C> panel({"a.txt"});
  ASSERT_TRUE(panel.Read());
  // Each bad byte is one U+FFFD, which CP866 lacks.
  const auto bad = sizeof(C) == 1 ? std::string("?") : std::string("\xef\xbf\xbd");
  EXPECT_EQ(panel.Of(0),
            T<C>("ok П then " + bad + bad + " " + bad + bad + bad + " " + bad + bad + bad));
}

TYPED_TEST(DescriptionFileRules, Utf16WithAnOddLastByteReadsItAsOneMoreCharacter) {
  using C = TypeParam;
  Bytes utf16{0xFF, 0xFE};
  for (char16_t unit : std::u16string(u"a.txt A16\r\nb.txt B16")) {
    utf16.push_back(static_cast<uint8_t>(unit));
    utf16.push_back(0);
  }
  utf16.push_back('X');
  this->File(utf16);
  Panel<C> panel({"a.txt", "b.txt"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(1), T<C>("B16X"));
}

TYPED_TEST(DescriptionFileRules, UnpairedSurrogatesInUtf16AreKeptOnlyWhereCharIsUtf16) {
  using C = TypeParam;
  Bytes utf16{0xFF, 0xFE};
  for (char16_t unit : std::u16string(u"a.txt x\xD800y\xDC00z\r\n")) {
    utf16.push_back(static_cast<uint8_t>(unit & 0xFF));
    utf16.push_back(static_cast<uint8_t>(unit >> 8));
  }
  this->File(utf16);
  Panel<C> panel({"a.txt"});
  ASSERT_TRUE(panel.Read());
  if constexpr (sizeof(C) == 2) {
    EXPECT_EQ(panel.Of(0), std::u16string(u"x\xD800y\xDC00z"));
  } else {
    EXPECT_EQ(panel.Of(0), T<C>("x\xef\xbf\xbdy\xef\xbf\xbdz"));  // U+FFFD, or '?' in CP866
  }
}

// ---- Which file ----

TYPED_TEST(DescriptionFileRules, TheFirstExistingFileOfTheListDecidesWhateverItHolds) {
  using C = TypeParam;
  this->File(B("a.txt from files.bbs\r\n"), u"Files.bbs");
  Panel<C> panel({"a.txt"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("from files.bbs"));
  ReleaseFolderDescriptions(&panel.read);

  this->File(B("a.txt from descript.ion\r\n"), u"DESCRIPT.ION");
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("from descript.ion"));
  ReleaseFolderDescriptions(&panel.read);

  // An empty first file, or one naming none of the items, still decides.
  this->File(B(""), u"DESCRIPT.ION");
  EXPECT_FALSE(panel.Read());
  this->File(B("other.txt other\r\n"), u"DESCRIPT.ION");
  EXPECT_FALSE(panel.Read());
}

TYPED_TEST(DescriptionFileRules, AFolderByTheFirstNameIsPassedOver) {
  using C = TypeParam;
  fake::AddFile(kFolder, u"Descript.ion", {}, sys::FileRead::kNotAFile);
  this->File(B("a.txt from files.bbs\r\n"), u"Files.bbs");
  Panel<C> panel({"a.txt"});
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(0), T<C>("from files.bbs"));
}

TYPED_TEST(DescriptionFileRules, TheHostsListOfNamesIsTakenInItsOrderWithBlanksAndQuotesAround) {
  using C = TypeParam;
  this->File(B("a.txt from descript.ion\r\n"));
  this->File(B("a.txt from dirinfo\r\n"), u"DirInfo");
  Panel<C> panel({"a.txt"});
  ASSERT_TRUE(panel.Read(" , \"dirinfo\" ,Descript.ion"));
  EXPECT_EQ(panel.Of(0), T<C>("from dirinfo"));
  ASSERT_EQ(fake::TheSystem().fileSystem.lookups.size(), 1u);
  EXPECT_EQ(fake::TheSystem().fileSystem.lookups[0], kFolder + u"|dirinfo");
}

// ---- Files that cannot be used ----

TYPED_TEST(DescriptionFileRules, AMissingLockedOrTooLargeFileGivesNothingAndStopsTheSearch) {
  using C = TypeParam;
  Panel<C> panel({"a.txt"});
  EXPECT_FALSE(panel.Read());
  EXPECT_EQ(panel.read.perItem, nullptr);

  this->File(B("a.txt from files.bbs\r\n"), u"Files.bbs");
  fake::AddFile(kFolder, u"Descript.ion", {}, sys::FileRead::kUnreadable);
  EXPECT_FALSE(panel.Read());

  Bytes huge(descriptions::kMaxDescriptionFileBytes + 1, 'x');
  this->File(huge);
  EXPECT_FALSE(panel.Read());
  EXPECT_EQ(fake::TheSystem().fileSystem.bytesRead, 0u);

  huge.pop_back();
  const std::string line = "\na.txt last byte of the limit\r\n";
  std::copy(line.begin(), line.end(), huge.end() - static_cast<long>(line.size()));
  this->File(huge);
  EXPECT_TRUE(panel.Read());
}

TYPED_TEST(DescriptionFileRules, RunningOutOfMemoryGivesNothing) {
  using C = TypeParam;
  this->File(B("a.txt A\r\n"));
  fake::TheSystem().allocationFails = true;
  Panel<C> panel({"a.txt"});
  EXPECT_FALSE(panel.Read());
  EXPECT_EQ(panel.read.block, nullptr);
}

TYPED_TEST(DescriptionFileRules, AFolderPathAtTheLengthLimitIsReadAndOneLongerIsRefused) {
  using C = TypeParam;
  Panel<C> panel({"a.txt"});
  for (uint32_t length : {sys::kMaxPathUnits, sys::kMaxPathUnits + 1}) {
    std::basic_string<C> folder(length, C('d'));
    fake::AddFile(std::u16string(length, u'd'), u"Descript.ion", B("a.txt A\r\n"));
    const bool found =
        ReadFolderDescriptions<C>(folder.c_str(), nullptr, panel.Strings(), &panel.read);
    EXPECT_EQ(found, length == sys::kMaxPathUnits) << length;
    ReleaseFolderDescriptions(&panel.read);
  }
}

// ---- The items ----

TYPED_TEST(DescriptionFileRules, NamesHeldInsideTheItemRecordsAndNullNamesAreRead) {
  using C = TypeParam;
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
  ASSERT_TRUE(ReadFolderDescriptions<C>(Panel<C>::FolderAs().c_str(), nullptr,
                                        ItemStrings<C>{records, sizeof(Record), false, 3}, &read));
  EXPECT_EQ(std::basic_string<C>(read.perItem[0]), T<C>("A"));
  EXPECT_EQ(read.perItem[1], nullptr);
  EXPECT_EQ(std::basic_string<C>(read.perItem[2]), T<C>("B"));
  ReleaseFolderDescriptions(&read);

  Panel<C> panel({"a.txt", "", "b.txt"});
  panel.pointers[1] = nullptr;
  ASSERT_TRUE(panel.Read());
  EXPECT_EQ(panel.Of(1), T<C>("<none>"));
  EXPECT_EQ(panel.Of(2), T<C>("B"));
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
  ASSERT_TRUE(ReadFolderDescriptions<char16_t>(
      kFolder.c_str(), nullptr, {names.data(), sizeof(names[0]), true, kItems}, &read));
  EXPECT_EQ(std::u16string(read.perItem[999000]), u"d999000");
  EXPECT_EQ(read.perItem[999001], nullptr);
  ReleaseFolderDescriptions(&read);
}

// ---- Case folding ----

TEST(NameFolding, UnicodeCapitalsFoldToTheirSmallLetters) {
  using descriptions::FoldUnicode;
  const std::u32string capitals = U"AZÀÞĀĲĹŇŊŸŹŽΆΈΌΏΑΣΩЀЏАЯѠҊӀӁӐԮ";
  const std::u32string smalls = U"azàþāĳĺňŋÿźžάέόώασωѐџаяѡҋӏӂӑԯ";
  for (size_t i = 0; i < capitals.size(); ++i)
    EXPECT_EQ(FoldUnicode(capitals[i]), static_cast<uint32_t>(smalls[i])) << i;
  for (char32_t same : U"az09×÷ßıĸŉ΢ς€日")
    EXPECT_EQ(FoldUnicode(same), same == U'ς' ? U'σ' : static_cast<uint32_t>(same));
}

TEST(NameFolding, TheOemTableFoldsTheCodePagesOwnLettersOnly) {
  fake::ResetSystem();
  descriptions::OemFolding folding;
  descriptions::BuildOemFolding(&folding);
  EXPECT_EQ(folding.lower[static_cast<uint8_t>('Q')], 'q');
  EXPECT_EQ(folding.lower[0x80], 0xA0);  // А to а
  EXPECT_EQ(folding.lower[0x9F], 0xEF);  // Я to я
  EXPECT_EQ(folding.lower[0xF0], 0xF1);  // Ё to ё
  EXPECT_EQ(folding.lower[0xA0], 0xA0);
  EXPECT_EQ(folding.lower[0xC9], 0xC9);  // a box corner stays
  EXPECT_EQ(fake::TheSystem().liveBlocks, 0);
}

}  // namespace
