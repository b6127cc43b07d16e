// Resource identifiers shared by Vellumio.rc and the program.
#pragma once

// The first icon of the file is the one Explorer and the taskbar show.
#define IDI_MAINICON 1
