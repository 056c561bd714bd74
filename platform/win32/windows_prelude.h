// The one way Win32 files include <windows.h>. Our own names avoid the A/W macros of
// <windows.h> (SetWindowText, MessageBox, LoadString, ...), so any header order compiles.
#pragma once
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
