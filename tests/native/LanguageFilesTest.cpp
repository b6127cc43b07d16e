// The language files we ship, checked as data: each one parses, describes
// itself in LANG_INFO, the translations carry every key of english.lng
// (the fallback) with the same format arguments, the bytes are in the code
// page the file says, and every text the program's sources ask for exists in
// english.lng. A missing key shows as "no-value" to the user, and a lost
// "%s" makes a message meaningless, so these are real faults.
//
// The files are parsed by the program's own reader (TLanguageFile); the
// code-page checks look at the raw bytes as well.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/DateFormat.h"
#include "base/DateTime.h"
#include "lang/LanguageFile.h"

namespace fs = std::filesystem;

namespace vellumio {
namespace {

fs::path RepoRoot() { return fs::path(VELLUMIO_TEST_SOURCE_DIR).parent_path(); }
fs::path LanguagesFolder() { return RepoRoot() / "Languages"; }

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Keys and section names are ASCII; values may not be.
std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }
std::string Narrow(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

std::string Trim(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return text.substr(begin, end - begin);
}

struct LanguageFile {
  std::string fileName;
  std::string bytes;
  TLanguageFile parsed;
  // "Section.key" as written, in file order, for the reports.
  std::vector<std::string> keyOrder;
  size_t keyLines = 0;  // lines of the form key=value after the first section

  std::optional<std::u16string> Find(const std::string& section, const std::string& key) const {
    return parsed.RawValue(Wide(section), Wide(key));
  }
  // A key looked up under a section that the caller does not know.
  bool HasKeyInAnySection(const std::string& key) const {
    for (const std::u16string& section : parsed.SectionNames()) {
      if (parsed.RawValue(section, Wide(key))) return true;
    }
    return false;
  }
  // The value bytes of the first line "key=..." anywhere in the file.
  std::string RawValueBytes(const std::string& key) const {
    std::istringstream lines(bytes);
    for (std::string line; std::getline(lines, line);) {
      line = Trim(line);
      if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    }
    return {};
  }
};

LanguageFile Parse(const fs::path& path) {
  LanguageFile file;
  file.fileName = path.filename().string();
  file.bytes = ReadBytes(path);
  file.parsed = TLanguageFile::FromAnsiText(file.bytes);
  for (const std::u16string& section : file.parsed.SectionNames()) {
    for (const std::u16string& key : file.parsed.KeyNames(section)) {
      file.keyOrder.push_back(Narrow(section) + "." + Narrow(key));
    }
  }
  std::istringstream lines(file.bytes);
  bool inSection = false;
  for (std::string line; std::getline(lines, line);) {
    line = Trim(line);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      inSection = true;
    } else if (inSection && line.find('=') != std::string::npos) {
      ++file.keyLines;
    }
  }
  return file;
}

std::vector<LanguageFile> ShippedFiles() {
  std::vector<LanguageFile> files;
  for (const auto& entry : fs::directory_iterator(LanguagesFolder())) {
    std::string extension = entry.path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
    if (entry.is_regular_file() && extension == ".lng") files.push_back(Parse(entry.path()));
  }
  std::sort(files.begin(), files.end(),
            [](const LanguageFile& a, const LanguageFile& b) { return a.fileName < b.fileName; });
  return files;
}

const LanguageFile& FileNamed(const std::vector<LanguageFile>& files, const std::string& name) {
  for (const LanguageFile& file : files) {
    if (file.fileName == name) return file;
  }
  static const LanguageFile none;
  ADD_FAILURE() << name << " is not shipped in " << LanguagesFolder();
  return none;
}

// The "%s"/"%d" arguments of a text, in order: the program fills them in.
std::u16string FormatArguments(const std::u16string& text) {
  std::u16string arguments;
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != u'%') continue;
    if (text[i + 1] == u'%') {
      ++i;
    } else {
      arguments += u'%';
      arguments += text[i + 1];
    }
  }
  return arguments;
}

// Where a key lands: "_" reads as ".", ".name" is a key of "global" and
// ".SECTION.name" a key of that section; anything else belongs to the
// caller's section.
std::pair<std::string, std::string> Resolve(const std::string& section, std::string key) {
  std::replace(key.begin(), key.end(), '_', '.');
  if (key.empty() || key.front() != '.') return {section, key};
  std::vector<std::string> fields;
  std::string field;
  std::istringstream parts(key);
  while (std::getline(parts, field, '.')) fields.push_back(field);
  if (key.back() == '.') fields.push_back("");
  if (fields.size() < 3) return {"global", fields.size() > 1 ? fields[1] : ""};
  return {fields[1], fields[2]};
}

TEST(LanguageFiles, KeyResolutionOfThePlaceholders) {
  struct Case {
    const char* section;
    const char* key;
    const char* wantSection;
    const char* wantKey;
  } cases[] = {
      {"FMAIN", "mVerUpToDate", "FMAIN", "mVerUpToDate"},
      {"", ".lInformation", "global", "lInformation"},
      {"FHOTKEYS", ".bOk", "global", "bOk"},
      {"FMAIN", ".FSETTINGS.lCaption", "FSETTINGS", "lCaption"},
      {"FMAIN", "_FSETTINGS_lCaption", "FSETTINGS", "lCaption"},
      {"FREMINDER", "_bOk", "global", "bOk"},
      {"FMAIN", ".FSETTINGS.lCaption.extra", "FSETTINGS", "lCaption"},
  };
  for (const Case& c : cases) {
    auto [section, key] = Resolve(c.section, c.key);
    EXPECT_EQ(section, c.wantSection) << c.key;
    EXPECT_EQ(key, c.wantKey) << c.key;
  }
}

TEST(LanguageFiles, EveryShippedFileDescribesItself) {
  const std::vector<LanguageFile> files = ShippedFiles();
  ASSERT_GE(files.size(), 3u) << "english, german and russian are shipped";
  FileNamed(files, "english.lng");
  FileNamed(files, "german.lng");
  FileNamed(files, "russian.lng");
  std::set<std::u16string> names;
  for (const LanguageFile& file : files) {
    SCOPED_TRACE(file.fileName);
    EXPECT_GT(file.keyOrder.size(), 100u);
    EXPECT_EQ(file.keyLines, file.keyOrder.size()) << "a key written twice: the first one wins";
    EXPECT_NE(file.bytes.substr(0, 3), "\xEF\xBB\xBF") << "no UTF-8 byte-order mark";
    EXPECT_NE(file.bytes.substr(0, 2), "\xFF\xFE") << "no UTF-16 byte-order mark";

    const auto name = file.Find("LANG_INFO", "Name");
    ASSERT_TRUE(name.has_value());
    EXPECT_FALSE(name->empty());
    EXPECT_TRUE(names.insert(*name).second) << "two files listed under one name";

    EXPECT_GT(file.parsed.ReadInteger(u"LANG_INFO", u"ForBuild", 0), 0);
    EXPECT_TRUE(file.Find("LANG_INFO", "Translator").has_value());

    // The date format must render a date recognisably: the year and the day.
    const auto format = file.Find("LANG_INFO", "DateFormat");
    ASSERT_TRUE(format.has_value());
    const std::u16string shown = FormatDateTime(*format, EncodeDate(2026, 3, 17));
    EXPECT_NE(shown.find(u"2026"), std::u16string::npos) << Narrow(*format);
    EXPECT_NE(shown.find(u"17"), std::u16string::npos) << Narrow(*format);
    EXPECT_NE(Narrow(*format).find("ddd"), std::string::npos) << "the weekday is shown";
  }
}

// Keys of `file` that english.lng lacks and the other way round, printed
// for every shipped file; german and russian are ours and must be complete.
TEST(LanguageFiles, TranslationsHaveEveryEnglishKey) {
  const std::vector<LanguageFile> files = ShippedFiles();
  const LanguageFile& english = FileNamed(files, "english.lng");
  ASSERT_FALSE(english.keyOrder.empty());
  for (const LanguageFile& file : files) {
    if (&file == &english) continue;
    std::vector<std::string> missing, unknown, badArguments;
    for (const std::string& full : english.keyOrder) {
      const size_t dot = full.find('.');
      const std::string section = full.substr(0, dot), key = full.substr(dot + 1);
      const auto theirs = file.Find(section, key);
      if (!theirs) {
        missing.push_back(full);
      } else if (FormatArguments(*theirs) != FormatArguments(*english.Find(section, key))) {
        badArguments.push_back(full);
      }
    }
    for (const std::string& full : file.keyOrder) {
      const size_t dot = full.find('.');
      if (!english.Find(full.substr(0, dot), full.substr(dot + 1))) unknown.push_back(full);
    }
    std::printf("%s: %zu keys missing, %zu not in english.lng, %zu with other %%s/%%d\n",
                file.fileName.c_str(), missing.size(), unknown.size(), badArguments.size());
    for (const std::string& key : missing) std::printf("  missing: %s\n", key.c_str());
    for (const std::string& key : unknown) std::printf("  unknown: %s\n", key.c_str());
    for (const std::string& key : badArguments) std::printf("  arguments: %s\n", key.c_str());
    if (file.fileName == "german.lng" || file.fileName == "russian.lng") {
      EXPECT_TRUE(missing.empty()) << file.fileName;
      EXPECT_TRUE(unknown.empty()) << file.fileName;
      EXPECT_TRUE(badArguments.empty()) << file.fileName;
      EXPECT_EQ(file.parsed.ReadInteger(u"LANG_INFO", u"ForBuild", 0),
                english.parsed.ReadInteger(u"LANG_INFO", u"ForBuild", 0))
          << file.fileName << " is made for the current build";
    }
  }
}

// The files are in the ANSI code page of their language: English and German
// in Windows-1252, Russian in Windows-1251. A file saved as UTF-8 by an
// editor shows as mojibake; these bytes catch that.
TEST(LanguageFiles, FilesAreInTheirAnsiCodePage) {
  const std::vector<LanguageFile> files = ShippedFiles();
  const LanguageFile& english = FileNamed(files, "english.lng");
  const LanguageFile& german = FileNamed(files, "german.lng");
  const LanguageFile& russian = FileNamed(files, "russian.lng");
  for (const LanguageFile* file : {&english, &german, &russian}) {
    const bool cyrillic = file == &russian;
    for (unsigned char c : file->bytes) {
      // Bytes that Windows-1252 leaves undefined, and the one of Windows-1251.
      const bool undefined =
          cyrillic ? c == 0x98 : (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D);
      ASSERT_FALSE(undefined) << file->fileName << " byte " << int(c);
    }
  }
  EXPECT_TRUE(std::all_of(english.bytes.begin(), english.bytes.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x80;
  })) << "the fallback is plain ASCII, readable under every code page";
  EXPECT_EQ(german.RawValueBytes("lConfirmation"), "Best\xE4tigung");        // a-umlaut in 1252
  EXPECT_EQ(russian.RawValueBytes("Name"), "\xD0\xF3\xF1\xF1\xEA\xE8\xE9");  // in 1251
}

struct CodeKey {
  std::string where;    // file:line
  std::string section;  // empty: the form's own section, not known here
  std::string key;
};

std::vector<CodeKey> KeysAskedForBySources() {
  // GetText("SECTION", "key" ...) and string literals that are placeholders.
  static const std::regex getText(R"re(GetText\s*\(\s*u?"([^"]*)"\s*,\s*u?"([^"]*)")re");
  static const std::regex placeholder(R"re((?:u|L|u8)?"\[([._A-Za-z][._A-Za-z0-9]*)\]")re");
  std::vector<CodeKey> keys;
  for (const char* folder : {"app", "store", "reminders", "lang", "config", "noteview", "search"}) {
    const fs::path root = RepoRoot() / folder;
    if (!fs::exists(root)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      const std::string extension = entry.path().extension().string();
      if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
      std::ifstream in(entry.path());
      int number = 0;
      for (std::string line; std::getline(in, line);) {
        ++number;
        const std::string where =
            fs::relative(entry.path(), RepoRoot()).generic_string() + ":" + std::to_string(number);
        for (std::sregex_iterator it(line.begin(), line.end(), getText), end; it != end; ++it) {
          auto [section, key] = Resolve((*it)[1], (*it)[2]);
          keys.push_back({where, section, key});
        }
        for (std::sregex_iterator it(line.begin(), line.end(), placeholder), end; it != end; ++it) {
          const std::string text = (*it)[1];
          auto [section, key] = Resolve("", text);
          keys.push_back({where, section, key});
        }
      }
    }
  }
  return keys;
}

TEST(LanguageFiles, EveryKeyTheCodeAsksForIsInEnglish) {
  const std::vector<LanguageFile> files = ShippedFiles();
  const LanguageFile& english = FileNamed(files, "english.lng");
  const std::vector<CodeKey> keys = KeysAskedForBySources();
  // The notes store alone asks for lSubj, tNewList and mNoReminder: finding
  // fewer means the scan looked in the wrong place.
  ASSERT_GE(keys.size(), 3u) << "sources scanned under " << RepoRoot();
  std::vector<std::string> missing;
  for (const CodeKey& k : keys) {
    const bool found = k.section.empty() ? english.HasKeyInAnySection(k.key)
                                         : english.Find(k.section, k.key).has_value();
    if (!found) missing.push_back(k.where + ": " + k.section + "." + k.key);
  }
  std::printf("%zu language keys asked for by the sources, %zu missing from english.lng\n",
              keys.size(), missing.size());
  for (const std::string& m : missing) std::printf("  missing: %s\n", m.c_str());
  EXPECT_TRUE(missing.empty());
}

}  // namespace
}  // namespace vellumio

namespace vellumio {
namespace {

// A line break typed into a value ends the value there: the reader takes
// lines, and the rest would be a line without a key. Breaks are written as
// "\n" in the files.
TEST(LanguageFiles, EveryLineIsAKeyASectionOrAComment) {
  for (const auto& entry : fs::directory_iterator(RepoRoot() / "Languages")) {
    if (entry.path().extension() != ".lng") continue;
    const std::string bytes = ReadBytes(entry.path());
    size_t start = 0, lineNumber = 1;
    while (start < bytes.size()) {
      size_t end = bytes.find("\r\n", start);
      if (end == std::string::npos) end = bytes.size();
      const std::string line = bytes.substr(start, end - start);
      EXPECT_EQ(line.find('\n'), std::string::npos)
          << entry.path().filename() << ":" << lineNumber << ": a bare line feed";
      const bool blank = line.find_first_not_of(" \t") == std::string::npos;
      const bool comment = !line.empty() && line.front() == ';';
      const bool section = !line.empty() && line.front() == '[' && line.back() == ']';
      EXPECT_TRUE(blank || comment || section || line.find('=') != std::string::npos)
          << entry.path().filename() << ":" << lineNumber << ": " << line;
      start = end + 2;
      ++lineNumber;
    }
  }
}

}  // namespace
}  // namespace vellumio
