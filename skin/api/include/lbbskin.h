/* lbbskin.h: the skin engine's public interface, for C and C++ programs.
 *
 * A program is skinned with three lines:
 *
 *     #include "lbbskin.h"
 *     lbbskin_load_file(L"my.skn");   (optional: without it the built-in skin is used)
 *     lbbskin_start();                (on the UI thread, before or after its windows are made)
 *
 * From then on every top-level window of the program's module that is activated (and every
 * such window shown when lbbskin_start runs) wears the skin: its frame and caption buttons,
 * its menu bar (drawn as a band of the frame), its system menu, the popup menus of the
 * thread, "#32770" dialogs, and the standard controls of the window (buttons, check and radio
 * buttons, group boxes, edits, combo boxes, list boxes, list views and their headers, tab
 * controls, track bars, progress bars, up-downs, date-time pickers, status bars). Windows of
 * other classes stay native.
 *
 * Linking: the DLL (lbbskin.dll with its import library) or the static library
 * (lbbskin_static; define LBBSKIN_STATIC before including this header, and link user32,
 * gdi32, comctl32, msimg32 and the C++ runtime, as the CMake target does for you).
 *
 * Calling convention: every function is plain __cdecl with C linkage. No function throws
 * or lets an exception out; each returns LBBSKIN_OK (0) or one of the LBBSKIN_E_* codes,
 * whose text lbbskin_error_text gives.
 *
 * Threads: the loaded skin, the SkinControls and Options sets, the scope, the filter and the
 * windows kept native are the process's (one engine per process). Skinning is per thread:
 * the engine sees a thread's windows through a hook on that thread, so each UI thread that
 * wants its windows skinned calls lbbskin_start itself, and lbbskin_stop / lbbskin_unskin_all
 * act on the calling thread's windows only. The first thread that starts is the engine's
 * main thread; it stops last (lbbskin_stop on it answers LBBSKIN_E_THREADS while other
 * threads still skin). The engine's changes run from the thread's message loop: a window
 * is skinned, re-skinned or given back a moment (about a quarter of a second) after the call
 * that asked for it, once the thread handles its messages.
 */
#ifndef LBBSKIN_H
#define LBBSKIN_H

#include <stddef.h>
#include <windows.h>

#if defined(LBBSKIN_STATIC)
#define LBBSKIN_API
#elif defined(LBBSKIN_BUILD_DLL)
#define LBBSKIN_API __declspec(dllexport)
#else
#define LBBSKIN_API __declspec(dllimport)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- result codes */
#define LBBSKIN_OK 0
#define LBBSKIN_E_ARGUMENT 1    /* an argument is null, out of range or unknown */
#define LBBSKIN_E_NOT_FOUND 2   /* the skin file or resource does not exist */
#define LBBSKIN_E_READ 3        /* the skin file exists but cannot be read */
#define LBBSKIN_E_BAD_SKIN 4    /* the bytes hold no skin the engine can use */
#define LBBSKIN_E_NOT_STARTED 5 /* the calling thread has not started skinning */
#define LBBSKIN_E_THREADS 6     /* the main thread stops while other threads still skin */
#define LBBSKIN_E_HOOK 7        /* the thread's window hook could not be installed */
#define LBBSKIN_E_INTERNAL 8    /* the engine failed inside; the program may go on */

/* ---- members of the SkinControls set (lbbskin_set_controls): which kinds are skinned */
#define LBBSKIN_CTL_MAINMENU (1u << 0)   /* the menu bar (drawn as a band of the frame) */
#define LBBSKIN_CTL_POPUPMENU (1u << 1)  /* popup menus */
#define LBBSKIN_CTL_MENUITEM (1u << 2)   /* owner-drawn items of a framework's menus */
#define LBBSKIN_CTL_TOOLBAR (1u << 3)    /* tool bars */
#define LBBSKIN_CTL_CONTROLBAR (1u << 4) /* control bars */
#define LBBSKIN_CTL_COMBO (1u << 5)      /* combo boxes and date-time pickers */
#define LBBSKIN_CTL_CHECKBOX (1u << 6)   /* check boxes */
#define LBBSKIN_CTL_RADIO (1u << 7)      /* radio buttons */
#define LBBSKIN_CTL_PROGRESS (1u << 8)   /* progress bars */
#define LBBSKIN_CTL_SCROLLBAR (1u << 9)  /* scroll bars of lists, list views, memos */
#define LBBSKIN_CTL_EDIT (1u << 10)      /* single-line edits */
#define LBBSKIN_CTL_BUTTON (1u << 11)    /* push buttons */
#define LBBSKIN_CTL_BITBTN (1u << 12)    /* picture buttons */
#define LBBSKIN_CTL_SPEEDBUTTON (1u << 13)
#define LBBSKIN_CTL_SPIN (1u << 14) /* up-down controls */
#define LBBSKIN_CTL_PANEL (1u << 15)
#define LBBSKIN_CTL_GROUPBOX (1u << 16)   /* group boxes */
#define LBBSKIN_CTL_STATUSBAR (1u << 17)  /* status bars */
#define LBBSKIN_CTL_TAB (1u << 18)        /* tab controls */
#define LBBSKIN_CTL_TRACKBAR (1u << 19)   /* track bars */
#define LBBSKIN_CTL_SYSTEMMENU (1u << 20) /* the system menu */
/* Every kind from the menu bar to the system menu but the menu item: the default. */
#define LBBSKIN_CTL_DEFAULT (((1u << 21) - 1u) & ~LBBSKIN_CTL_MENUITEM)

/* ---- members of the Options set (lbbskin_set_options) */
#define LBBSKIN_OPT_MDISCROLLBAR (1u << 0)
#define LBBSKIN_OPT_MENUMERGE (1u << 1)
#define LBBSKIN_OPT_TRANSPARENT (1u << 2)
#define LBBSKIN_OPT_PREVIEW (1u << 3) /* also skin windows whose class says "preview" */
#define LBBSKIN_OPT_PARENTBACKGROUND (1u << 4)
#define LBBSKIN_OPT_NOFOCUSRECT (1u << 5)
#define LBBSKIN_OPT_TOOLBARBK (1u << 6)
#define LBBSKIN_OPT_TOOLBARBUTTON (1u << 7)
#define LBBSKIN_OPT_MDICHILDBORDER (1u << 8)
#define LBBSKIN_OPT_MENUBG (1u << 9)
#define LBBSKIN_OPT_CAPTIONBUTTONHINT (1u << 10) /* hints over the caption buttons */
#define LBBSKIN_OPT_FORMSCROLLBAR (1u << 11)
/* The default: preview windows, tool bar backgrounds and caption button hints. */
#define LBBSKIN_OPT_DEFAULT \
  (LBBSKIN_OPT_PREVIEW | LBBSKIN_OPT_TOOLBARBK | LBBSKIN_OPT_CAPTIONBUTTONHINT)

/* ---- scopes (lbbskin_set_scope) */
#define LBBSKIN_SCOPE_MODULE 0  /* the windows of the program's module (the .exe), and dialogs */
#define LBBSKIN_SCOPE_PROCESS 1 /* every top-level window of a skinned thread, whatever module */

/* The filter (the skin data's form-skin event): called on the UI thread for every
 * top-level window about to be skinned, with its handle and class name. Return nonzero to
 * let it be skinned, 0 to keep it native. `user` is the pointer given to
 * lbbskin_set_filter. It must not throw (a C++ exception is caught and counts as 1). */
typedef int(__cdecl* lbbskin_filter_fn)(HWND window, const wchar_t* class_name, void* user);

/* Starts skinning on the calling thread: installs the thread's window hook and skins the
 * thread's top-level windows that are shown now, then every window as it is activated.
 * Uses the skin last loaded, else the built-in skin ("Slate"). Calling it again on a thread
 * that skins already does nothing and answers LBBSKIN_OK. */
LBBSKIN_API int __cdecl lbbskin_start(void);

/* Stops skinning on the calling thread: every skinned window of the thread gets its own
 * frame, menu bar and controls back at once, and the thread's hook is removed. When the
 * last thread stops, the engine frees everything it made (the loaded skin is remembered for
 * the next lbbskin_start). LBBSKIN_E_NOT_STARTED when the thread had not started;
 * LBBSKIN_E_THREADS on the main thread while other threads still skin. */
LBBSKIN_API int __cdecl lbbskin_stop(void);

/* Loads a skin archive (.skn) from a file. While skinning runs, every skinned window
 * switches to the new skin. On error the skin in use stays. */
LBBSKIN_API int __cdecl lbbskin_load_file(const wchar_t* path);

/* Loads a skin archive from `size` bytes at `data` (copied; the caller keeps its buffer). */
LBBSKIN_API int __cdecl lbbskin_load_memory(const void* data, size_t size);

/* Loads a skin archive held as resource `name` of type `type` in `module` (null: the
 * program's .exe); for example a resource script line `MYSKIN RCDATA "my.skn"` is
 * lbbskin_load_resource(NULL, L"MYSKIN", RT_RCDATA). */
LBBSKIN_API int __cdecl lbbskin_load_resource(HMODULE module, const wchar_t* name,
                                              const wchar_t* type);

/* Gives back every skinned window of the calling thread (frames, menus, controls) and stops
 * skinning new ones until lbbskin_start is called again; the hook stays. */
LBBSKIN_API int __cdecl lbbskin_unskin_all(void);

/* Sets which kinds are skinned (LBBSKIN_CTL_* bits); windows skinned from then on use it.
 * LBBSKIN_E_ARGUMENT for bits beyond LBBSKIN_CTL_SYSTEMMENU. */
LBBSKIN_API int __cdecl lbbskin_set_controls(unsigned controls);

/* Sets the Options set (LBBSKIN_OPT_* bits). LBBSKIN_E_ARGUMENT for unknown bits. */
LBBSKIN_API int __cdecl lbbskin_set_options(unsigned options);

/* Keeps `window` (a top-level window or a control) native when `keep` is nonzero, through
 * the window property "LbbSkinNative"; 0 lets it be skinned again. Call it before the window
 * is skinned (after CreateWindow, or in WM_INITDIALOG for a dialog's controls); a top-level
 * window skinned already is given back (and skinned again when `keep` is 0). */
LBBSKIN_API int __cdecl lbbskin_keep_native(HWND window, int keep);

/* Sets the filter (null: none, every window in scope is skinned). */
LBBSKIN_API int __cdecl lbbskin_set_filter(lbbskin_filter_fn fn, void* user);

/* Sets the scope of the top-level windows skinned (LBBSKIN_SCOPE_*); default MODULE. */
LBBSKIN_API int __cdecl lbbskin_set_scope(int scope);

/* The text of a result code (English, static, never null). */
LBBSKIN_API const char* __cdecl lbbskin_error_text(int code);

#ifdef __cplusplus
}
#endif

#endif /* LBBSKIN_H */
