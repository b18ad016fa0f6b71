// Number of host-type codes (automatic included) of the host-type library;
// 1 when no library is loaded, so that only automatic detection is valid.
#pragma once
#include <windows.h>

int ValidHostTypeCount(void);
