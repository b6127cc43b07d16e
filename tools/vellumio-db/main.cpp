// vellumio-db: inspect, check, convert and create database files from the
// command line. Everything happens in DbCommands; this file only turns the
// process's arguments into UTF-16.
#include <iostream>
#include <string>
#include <vector>

#include "tools/vellumio-db/DbCommands.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

// wmain: the arguments arrive as UTF-16, so file names in any script work.
int wmain(int argc, wchar_t** argv) {
  // The JSON is UTF-8 with "\n" line ends; text mode would add CRs.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  std::vector<std::u16string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
  return vellumio::RunDbTool(args, std::cout, std::cerr);
}

#else
#include "base/Utf8.h"

int main(int argc, char** argv) {
  std::vector<std::u16string> args;
  for (int i = 1; i < argc; ++i) args.push_back(vellumio::FromUtf8(argv[i]));
  return vellumio::RunDbTool(args, std::cout, std::cerr);
}
#endif
