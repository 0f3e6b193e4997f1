/* Registers a compiled help title with HTML Help, and removes it again, the way an
 * installer does: QUILLET.dll is loaded at run time and its C functions are looked up
 * by name, so the program starts (and can say so) even where the DLL is missing.
 *
 *   install_title install "Tools\Editors" C:\Help\guide.chm C:\Help\guide.chi Guide
 *   install_title remove "Tools\Editors\=Guide" Guide
 *
 * Texts are in the ANSI code page, as everything at the DLL's boundary. Build it for
 * the installer's architecture, with the QUILLET.dll of the same architecture beside
 * the program (a 32-bit installer needs the 32-bit DLL):
 *
 *   i686-w64-mingw32-gcc -std=c99 -Iinclude -o install_title.exe examples/install_title.c
 *   cl /Iinclude examples\install_title.c
 *
 * Exit code: 0 when the call succeeded, 1 when it failed (the library's result code
 * and text are printed), 2 for a wrong command line.
 */
#include <stdio.h>
#include <string.h>
#include <windows.h>

#include "quillet/result_codes.h"

/* The functions of quillet/quillet_c.h that this program calls: __cdecl, exported
 * under their plain names on both architectures. */
typedef void(__cdecl* SetSafeModeFunction)(int on);
typedef void(__cdecl* GetLastErrorFunction)(char* buffer, unsigned long size);
typedef int(__cdecl* InstallFunction)(const char* folderPath, const char* chmPath, const char* chiPath,
                                      const char* titleId);
typedef int(__cdecl* RemoveFunction)(const char* folderPath, const char* titleId);

/* GetProcAddress returns one function type for all; the detour through a plain
 * function pointer type is the conversion C allows without a warning. */
typedef void (*AnyFunction)(void);
#define LOOK_UP(type, dll, name) ((type)(AnyFunction)GetProcAddress((dll), (name)))

static int usage(void) {
  fprintf(stderr,
          "usage: install_title install FOLDER_PATH CHM_PATH CHI_PATH TITLE_ID\n"
          "       install_title remove FOLDER_PATH TITLE_ID\n");
  return 2;
}

int main(int argc, char** argv) {
  const int installing = argc == 6 && strcmp(argv[1], "install") == 0;
  const int removing = argc == 4 && strcmp(argv[1], "remove") == 0;
  if (!installing && !removing) return usage();

  HMODULE dll = LoadLibraryA("QUILLET.dll");
  if (dll == NULL) {
    fprintf(stderr, "QUILLET.dll cannot be loaded (Windows error %lu)\n", (unsigned long)GetLastError());
    return 1;
  }
  SetSafeModeFunction setSafeMode = LOOK_UP(SetSafeModeFunction, dll, "QuilletSetSafeMode");
  GetLastErrorFunction getLastError = LOOK_UP(GetLastErrorFunction, dll, "QuilletCGetLastError");
  InstallFunction install = LOOK_UP(InstallFunction, dll, "QuilletCInstall");
  RemoveFunction remove = LOOK_UP(RemoveFunction, dll, "QuilletCRemove");
  if (setSafeMode == NULL || getLastError == NULL || install == NULL || remove == NULL) {
    fprintf(stderr, "QUILLET.dll lacks a function this program needs\n");
    FreeLibrary(dll);
    return 1;
  }

  /* Safe mode: both files change or neither, and a file that cannot be written says so. */
  setSafeMode(1);
  const int code = installing ? install(argv[2], argv[3], argv[4], argv[5]) : remove(argv[2], argv[3]);
  if (code == QUILLET_OK) {
    printf("%s %s\n", installing ? "installed" : "removed", installing ? argv[5] : argv[3]);
  } else {
    char text[1024];
    getLastError(text, sizeof text);
    fprintf(stderr, "%s failed with code %d: %s\n", installing ? "QuilletCInstall" : "QuilletCRemove", code, text);
  }
  FreeLibrary(dll);
  return code == QUILLET_OK ? 0 : 1;
}
