// Printing on a real printer: tests/print/run_print_tests.sh names it in
// VELLUMIO_TEST_PRINTER (a PDF queue) and checks the PDFs that arrive.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "print/PrintSettings.h"
#include "print/PrintString_win.h"
#include "print/PrinterDC_win.h"

namespace vellumio {
namespace {

class PrintWin : public ::testing::Test {
protected:
  std::wstring printer;
  void SetUp() override {
    const char* name = std::getenv("VELLUMIO_TEST_PRINTER");
    if (!name || !*name) GTEST_SKIP() << "run through tests/print/run_print_tests.sh";
    printer.assign(name, name + std::strlen(name));
  }
};

// The margins error comes after the job was opened; the job is aborted (no
// PDF), and the next job on that printer prints.
TEST_F(PrintWin, MarginsLeavingNoAreaAbortTheJobAndTheNextOnePrints) {
  TPrinterDC dc(printer);
  ASSERT_NE(dc.Handle(), nullptr);
  TPrintSettings huge;
  huge.MrgLeft = huge.MrgRight = 5000;
  try {
    PrintNotesText(dc.Handle(), u"never printed", huge);
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), kMarginsTooLarge);
  }
  // Every print command opens the printer anew (Wine cannot start another
  // job on a context whose job was aborted).
  TPrinterDC next(printer);
  EXPECT_EQ(PrintNotesText(next.Handle(), u"##$>>After the error\r\nprinted", TPrintSettings()), 1);
}

// A decorator that stops the job: no pages reported, the job aborted.
TEST_F(PrintWin, ADecoratorStoppingTheJobAbortsIt) {
  TPrinterDC dc(printer);
  ASSERT_NE(dc.Handle(), nullptr);
  const TPageDecorator stop = [](HDC, int, bool& go, const RECT&) { go = false; };
  EXPECT_EQ(PrintString(dc.Handle(), {u"stopped"}, {}, false, {0.75f, 0.75f, 0.5f, 1}, stop, nullptr),
            0);
}

}  // namespace
}  // namespace vellumio
