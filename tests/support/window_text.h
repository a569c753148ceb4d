// A window's text, read without sending it a message: a window whose thread is busy or hung
// cannot hang the reader too.
#pragma once

#include <windows.h>

#include <string>

std::string WindowTextOf(HWND window);
