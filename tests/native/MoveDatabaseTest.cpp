// The Move button's steps with failures injected at each of them: the
// source is deleted only after a whole copy, and an existing target only
// with the user's Yes.
#include "config/MoveDatabase.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/Utf8.h"

namespace vellumio {
namespace {

class TScriptedSteps final : public IMoveSteps {
public:
  std::set<std::u16string> files{u"C:\\a\\notes.sbn"};
  std::set<std::string> failing;  // the steps that fail
  std::vector<std::string> log;

  bool Move(const std::u16string& from, const std::u16string& to, bool replace) override {
    log.push_back(replace ? "move+replace" : "move");
    if (failing.count("move")) return false;
    files.erase(from), files.insert(to);
    return true;
  }
  bool Exists(const std::u16string& path) override { return files.count(path) > 0; }
  void ClearReadOnly(const std::u16string&) override { log.push_back("clear"); }
  void Copy(const std::u16string&, const std::u16string& to) override {
    log.push_back("copy");
    if (failing.count("copy")) throw std::runtime_error("disk full");
    files.insert(to);
  }
  bool CopyReadsBack(const std::u16string&, const std::u16string&) override {
    log.push_back("check");
    return !failing.count("check");
  }
  void Delete(const std::u16string& path) override {
    log.push_back("delete " + ToUtf8(path.substr(path.size() - 9)));
    if (failing.count("delete")) throw std::runtime_error("in use");
    files.erase(path);
  }
};

const std::u16string kFrom = u"C:\\a\\notes.sbn";
const std::u16string kTo = u"E:\\b\\moved.sbn";

TEST(MoveDatabase, StepsWithFailuresInjected) {
  struct Case {
    std::set<std::string> failing;
    bool targetExists, confirmed;
    std::vector<std::string> log;
    bool throws, sourceLeft, targetThere;
    TMoveOutcome outcome;
  } cases[] = {
      {{}, false, false, {"move"}, false, false, true, TMoveOutcome::kMoved},
      {{"move"}, false, false, {"move", "clear", "copy", "check", "delete notes.sbn"},
       false, false, true, TMoveOutcome::kMoved},
      // A failed copy never deletes the source.
      {{"move", "copy"}, false, false, {"move", "clear", "copy"}, true, true, false, {}},
      // A copy that does not read back is removed; the source stays.
      {{"move", "check"}, false, false, {"move", "clear", "copy", "check", "delete moved.sbn"},
       true, true, false, {}},
      // The source cannot be deleted: both stay, and the caller is told.
      {{"move", "delete"}, false, false, {"move", "clear", "copy", "check", "delete notes.sbn"},
       false, true, true, TMoveOutcome::kSourceKept},
      // An existing target without the user's Yes: nothing at all happens.
      {{}, true, false, {}, true, true, true, {}},
      {{}, true, true, {"move+replace"}, false, false, true, TMoveOutcome::kMoved},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(n++);
    TScriptedSteps steps;
    steps.failing = c.failing;
    if (c.targetExists) steps.files.insert(kTo);
    TMoveOutcome outcome{};
    bool threw = false;
    try {
      outcome = MoveDatabaseFile(steps, kFrom, kTo, c.confirmed);
    } catch (const std::runtime_error&) {
      threw = true;
    }
    EXPECT_EQ(threw, c.throws);
    EXPECT_EQ(steps.log, c.log);
    EXPECT_EQ(steps.Exists(kFrom), c.sourceLeft);
    EXPECT_EQ(steps.Exists(kTo), c.targetThere);
    if (!threw) EXPECT_EQ(outcome, c.outcome);
  }
}

TEST(MoveDatabase, MissingSourceAndSameFile) {
  TScriptedSteps steps;
  steps.files.clear();
  EXPECT_THROW(MoveDatabaseFile(steps, kFrom, kTo, true), std::runtime_error);
  EXPECT_TRUE(steps.log.empty());
  // The same file in other letters is no move (and no delete of the source).
  steps.files = {kFrom};
  EXPECT_EQ(MoveDatabaseFile(steps, kFrom, u"c:\\A\\Notes.SBN", true), TMoveOutcome::kMoved);
  EXPECT_TRUE(steps.log.empty());
  EXPECT_TRUE(steps.Exists(kFrom));
}

}  // namespace
}  // namespace vellumio
