// The display library the launcher calls before its splash.
#pragma once

#include <windows.h>

#ifdef DLLCONTROLKX_BUILDING
#define DLLCONTROLKX_API extern "C" __declspec(dllexport)
#else
#define DLLCONTROLKX_API extern "C" __declspec(dllimport)
#endif

// Makes sure the desktop offers the main interface at least 800 x 600 with
// 16-bit colour.  A screen that already does is left alone; otherwise the
// smallest mode that does is set for this session only (the registry keeps
// the user's own).  TRUE when the screen meets the minimum afterwards.
DLLCONTROLKX_API BOOL WINAPI AcertaResolucao(void);
