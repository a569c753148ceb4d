// The one place that includes DirectInput, pinned to version 7.
#pragma once

#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0700
#endif
#include <windows.h>
#include <dinput.h>
