#include "tools/vellumio-db/DbCommands.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "base/DateFormat.h"
#include "base/Errors.h"
#include "base/Utf8.h"
#include "platform/Platform.h"
#include "store/DatabaseRestore.h"
#include "store/DatabaseSearch.h"
#include "store/MainThreadQueue.h"
#include "store/uNotesList.h"
#include "tools/vellumio-db/DbJson.h"

#ifdef _WIN32
#include "noteview/NoteCommands.h"
#include "print/PrintSettings.h"
#include "print/PrintString_win.h"
#include "print/PrinterDC_win.h"
#endif

namespace vellumio {

namespace {

constexpr const char* kUsage =
    "usage: vellumio-db dump FILE          print the database as JSON\n"
    "       vellumio-db export FILE OUT    write the text export (UTF-16) to OUT\n"
    "       vellumio-db verify FILE        exit 0 when FILE reads as a database\n"
    "       vellumio-db rewrite IN OUT     write IN again in the current format\n"
    "       vellumio-db new FILE           create an empty database\n"
    "       vellumio-db find PATH...       list the databases under the folders, newest first\n"
    "                                      (time, file, lists, notes; each content once)\n"
#ifdef _WIN32
    "       vellumio-db print FILE [--list N] [--printer NAME]\n"
    "                                      print the notes of list N (from 0; default: the\n"
    "                                      current list) on the default or the named printer\n"
#endif
    ;

// A one-line failure that ends the command with exit code 1.
struct ToolFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string Quoted(const std::u16string& path) { return "\"" + ToUtf8(path) + "\""; }

// Checked before loading so that the message names the real problem
// rather than a read error deep inside the file.
void RequireReadableFile(const std::u16string& path) {
  if (platform::DirectoryExists(path))
    throw ToolFailure(Quoted(path) + " is a folder, not a database file");
  if (!platform::FileExists(path)) throw ToolFailure(Quoted(path) + " does not exist");
  try {
    platform::OpenForReading(path);
  } catch (const std::exception& e) {
    throw ToolFailure("cannot read " + Quoted(path) + ": " + e.what());
  }
}

// The same file under two names (also through links or, on Windows, a
// different letter case) counts as the same.
bool SameFile(const std::u16string& a, const std::u16string& b) {
  if (a == b) return true;
  std::error_code error;
  return std::filesystem::equivalent(std::filesystem::path(a), std::filesystem::path(b), error);
}

void Load(TNoteListCollection& db, const std::u16string& path) {
  RequireReadableFile(path);
  db.LoadFromFile(path);
}

int Dump(TNoteListCollection& db, const std::vector<std::u16string>& args, std::ostream& out,
         std::ostream&) {
  Load(db, args[1]);
  WriteDatabaseJson(db, out);
  out.flush();
  return kDbToolOk;
}

int Export(TNoteListCollection& db, const std::vector<std::u16string>& args, std::ostream&,
           std::ostream&) {
  Load(db, args[1]);
  db.ExportToFile(args[2]);
  return kDbToolOk;
}

int Verify(TNoteListCollection& db, const std::vector<std::u16string>& args, std::ostream&,
           std::ostream&) {
  Load(db, args[1]);
  return kDbToolOk;
}

int Rewrite(TNoteListCollection& db, const std::vector<std::u16string>& args, std::ostream&,
            std::ostream&) {
  Load(db, args[1]);
  db.SaveToFile(args[2]);
  return kDbToolOk;
}

// A fresh database object already is the new file's content.
int New(TNoteListCollection& db, const std::vector<std::u16string>& args, std::ostream&,
        std::ostream&) {
  const std::u16string& path = args[1];
  if (platform::FileExists(path) || platform::DirectoryExists(path)) {
    throw ToolFailure(Quoted(path) + " already exists");
  }
  db.SaveToFile(path);
  return kDbToolOk;
}

// The restore search's own machinery: the walk on a search thread, the
// loading and duplicate rule on this (the main) thread.
void CollectDatabases(TDatabaseRestore& restore, const std::vector<std::u16string>& folders) {
  TManualQueue queue;
  bool finished = false;
  TSearchThread thread(
      queue,
      [&](TSearchThread& t) {
        for (const auto& folder : folders) restore.Scan(folder, t);
      },
      [&] { finished = true; });
  thread.Start();
  while (!finished) queue.WaitAndRun(std::chrono::milliseconds(100));
}

int Find(TNoteListCollection&, const std::vector<std::u16string>& args, std::ostream& out,
         std::ostream& err) {
  const std::vector<std::u16string> folders(args.begin() + 1, args.end());
  for (const auto& folder : folders) {
    if (!platform::DirectoryExists(folder)) throw ToolFailure(Quoted(folder) + " is not a folder");
  }
  TDatabaseRestore restore(u"", u"");
  restore.DriveRoots = {};
  CollectDatabases(restore, folders);
  std::vector<const TDatabaseInfo*> found;
  for (const auto& info : restore.Infos()) found.push_back(info.get());
  // Newest first, as the restore dialog sorts; equal times by name, so
  // that the output does not depend on the order of the walk.
  std::sort(found.begin(), found.end(), [](const TDatabaseInfo* a, const TDatabaseInfo* b) {
    return a->Time != b->Time ? a->Time > b->Time : a->FileName < b->FileName;
  });
  for (const TDatabaseInfo* info : found) {
    out << ToUtf8(FormatShortDateLongTime(info->Time)) << '\t' << ToUtf8(info->FileName) << '\t'
        << info->ListCount << '\t' << info->NoteCount << '\n';
  }
  out.flush();
  if (found.empty()) err << "vellumio-db: no databases found\n";
  return kDbToolOk;
}

#ifdef _WIN32
// print FILE [--list N] [--printer NAME]: the notes as the program prints
// them, with the default print settings.
int Print(TNoteListCollection& db, const std::vector<std::u16string>& args, std::ostream& out,
          std::ostream&) {
  int list = -1;
  std::u16string printer;
  for (size_t i = 2; i < args.size(); i += 2) {
    if (i + 1 >= args.size()) throw ToolFailure("missing value after " + ToUtf8(args[i]));
    if (args[i] == u"--printer") {
      printer = args[i + 1];
    } else if (args[i] == u"--list") {
      const std::string number = ToUtf8(args[i + 1]);
      if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos ||
          number.size() > 6)
        throw ToolFailure("--list wants a list number, not \"" + number + "\"");
      list = std::stoi(number);
    } else {
      throw ToolFailure("unknown option " + ToUtf8(args[i]));
    }
  }
  Load(db, args[1]);
  if (list < 0) list = db.CurrentList();
  TNotesList* notes = db.List(list);
  if (!notes) throw ToolFailure("the database has no list " + std::to_string(list));
  if (notes->Count() == 0) throw ToolFailure("list " + std::to_string(list) + " has no notes");
  const TPrinterDC dc(std::wstring(printer.begin(), printer.end()));
  if (!dc.Handle())
    throw ToolFailure(printer.empty() ? std::string("no default printer")
                                      : "no printer " + Quoted(printer));
  TPrintSettings settings;  // the stored settings' defaults
  const int pages =
      PrintNotesText(dc.Handle(), noteview::SelectedText(*notes, {}, -1, true), settings);
  out << "printed " << pages << (pages == 1 ? " page" : " pages") << " on "
      << ToUtf8(std::u16string(dc.Name().begin(), dc.Name().end())) << "\n";
  return kDbToolOk;
}
#endif

struct Command {
  const char16_t* name;
  size_t argumentCount;  // after the command name
  bool moreAllowed;      // argumentCount is the least number
  bool writesSecondPath;
  int (*run)(TNoteListCollection&, const std::vector<std::u16string>&, std::ostream&,
             std::ostream&);
};

constexpr Command kCommands[] = {
    {u"dump", 1, false, false, Dump},     {u"export", 2, false, true, Export},
    {u"verify", 1, false, false, Verify}, {u"rewrite", 2, false, true, Rewrite},
    {u"new", 1, false, false, New},       {u"find", 1, true, false, Find},
#ifdef _WIN32
    {u"print", 1, true, false, Print},
#endif
};

const Command* FindCommand(const std::vector<std::u16string>& args) {
  if (args.empty()) return nullptr;
  for (const Command& command : kCommands) {
    if (args[0] != command.name) continue;
    const size_t given = args.size() - 1;
    if (given == command.argumentCount || (command.moreAllowed && given > command.argumentCount))
      return &command;
  }
  return nullptr;
}

int Usage(std::ostream& err, const std::string& problem) {
  if (!problem.empty()) err << "vellumio-db: " << problem << "\n";
  err << kUsage;
  return kDbToolUsage;
}

int Fail(std::ostream& err, const std::string& message) {
  err << "vellumio-db: " << message << "\n";
  return kDbToolFailed;
}

int Run(const Command& command, const std::vector<std::u16string>& args, std::ostream& out,
        std::ostream& err) {
  try {
    TNoteListCollection db(false);
    return command.run(db, args, out, err);
  } catch (const EDatabaseError& e) {
    return Fail(err, std::string(e.what()) + ": " + e.Reason());
  } catch (const ToolFailure& e) {
    return Fail(err, e.what());
  } catch (const std::exception& e) {
    return Fail(err, e.what());
  }
}

}  // namespace

int RunDbTool(const std::vector<std::u16string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 1 && (args[0] == u"--help" || args[0] == u"-h")) {
    out << kUsage;
    return kDbToolOk;
  }
  const Command* command = FindCommand(args);
  if (command == nullptr) {
    return Usage(err, args.empty() ? "" : "unknown command or wrong number of arguments");
  }
  if (command->writesSecondPath && SameFile(args[1], args[2])) {
    return Usage(err, "OUT must not be the input file " + Quoted(args[1]));
  }
  return Run(*command, args, out, err);
}

}  // namespace vellumio
