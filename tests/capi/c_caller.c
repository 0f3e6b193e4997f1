/* A C program using the library through quillet_c.h, as a C caller would: it proves
 * that the header compiles as C and that the unmangled names link and behave. It
 * takes a work directory and a title id that is already installed in the prefix the
 * environment names, and prints one line per failed check; the exit code is the
 * number of failed checks. */
#include <stdio.h>
#include <string.h>

#include "quillet/quillet_c.h"

static int failures = 0;

static void check(int ok, const char* what, long line) {
  if (!ok) {
    printf("FAILED line %ld: %s\n", line, what);
    ++failures;
  }
}
#define CHECK(condition) check((condition) != 0, #condition, __LINE__)

static int write_file(const char* path, const char* text) {
  FILE* file = fopen(path, "wb");
  if (file == NULL) return 0;
  fputs(text, file);
  return fclose(file) == 0;
}

/* The frame: version, last-error text, and handles that were never issued. */
static void frame_calls(void) {
  char text[64];
  unsigned long handle = 0;
  QuilletCGetVersion(text);
  CHECK(strcmp(text, "Tessaly QUILLET Version 1.0.0 - Build 002") == 0);
  CHECK(QuilletCGetVersionSized(text, 41) == QUILLET_E_BUFFER_TOO_SMALL && text[0] == '\0');
  CHECK(QuilletCSaveCollection(0) == QUILLET_E_NULL_HANDLE);
  QuilletCGetLastError(text, sizeof text);
  CHECK(strcmp(text, "Invalid handle") == 0);
  CHECK(QuilletCRemoveDoc(123456789UL) == QUILLET_E_NULL_HANDLE);
  CHECK(QuilletCNextCollectionFolder(42, &handle) == QUILLET_E_NULL_HANDLE && handle == 0);
  QuilletCReleaseCollection(0);
  QuilletCCloseDocInfo(0);
}

/* A collection file on a host path: add, find, save, load again and walk. */
static void folders(const char* dir) {
  char path[1024], title[16];
  unsigned long collection = 0, tools = 0, editors = 0, found = 0, cursor = 0, folder = 0;
  snprintf(path, sizeof path, "%s/c_caller.col", dir);
  CHECK(write_file(path, "<HTMLHelpCollection><Folders/></HTMLHelpCollection>"));

  CHECK(QuilletCLoadCollection(path, &collection) == QUILLET_OK);
  CHECK(QuilletCAddFolder(collection, "Tools", &tools) == QUILLET_OK);
  CHECK(QuilletCAddSubFolder(tools, "Editors", &editors) == QUILLET_OK);
  CHECK(QuilletCFindFolder(collection, "Editors", &found) == QUILLET_OK);
  CHECK(QuilletCFindSubFolder(tools, "editors", &found) == QUILLET_E_NOT_FOUND);
  CHECK(QuilletCSaveCollection(collection) == QUILLET_OK);
  QuilletCReleaseCollection(collection);

  CHECK(QuilletCLoadCollection(path, &collection) == QUILLET_OK);
  CHECK(QuilletCEnumCollectionRootFolders(collection, &cursor) == QUILLET_OK);
  CHECK(QuilletCNextCollectionFolder(cursor, &folder) == QUILLET_OK);
  CHECK(QuilletCGetFolderName(folder, title) == QUILLET_OK && strcmp(title, "Tools") == 0);
  CHECK(QuilletCNextCollectionFolder(cursor, &found) == QUILLET_E_NOT_FOUND);
  CHECK(QuilletCEnumSubFolders(folder, &cursor) == QUILLET_OK);
  CHECK(QuilletCNextCollectionFolder(cursor, &found) == QUILLET_OK);
  CHECK(QuilletCGetFolderNameSized(found, title, 8) == QUILLET_OK && strcmp(title, "Editors") == 0);
  QuilletCDeleteFolder(found);
  CHECK(QuilletCGetFolderNameSized(found, title, sizeof title) == QUILLET_E_NULL_HANDLE);
  QuilletCReleaseCollection(collection);
}

/* The installed title through the default registry, and values of a new entry. */
static void title_entries(const char* dir, const char* installedId) {
  char path[1024], value[128];
  unsigned long docInfo = 0, doc = 0, entries = 0;
  int seen = 0;
  CHECK(QuilletCOpenDocInfoDefault(&docInfo) == QUILLET_OK);
  CHECK(QuilletCGetDefaultCollectionNumber(docInfo, value) == QUILLET_OK && strcmp(value, "1") == 0);
  CHECK(QuilletCEnumDocCompilations(docInfo, &entries) == QUILLET_OK);
  while (QuilletCNextDocCompilation(entries, &doc) == QUILLET_OK) {
    CHECK(QuilletCGetDocValueSized(doc, 6, value, sizeof value) == QUILLET_OK);
    if (strcmp(value, installedId) == 0) {
      ++seen;
      CHECK(QuilletCGetDocValue(doc, 5, value) == QUILLET_OK && strcmp(value, "TESSALY-10-Local") == 0);
    }
    QuilletCCloseDoc(doc);
  }
  CHECK(seen == 1);
  QuilletCCloseDocInfo(docInfo);

  snprintf(path, sizeof path, "%s/c_caller.dat", dir);
  CHECK(write_file(path, "<HTMLHelpDocInfo><DocCompilations/></HTMLHelpDocInfo>"));
  CHECK(QuilletCOpenDocInfoFile(path, &docInfo) == QUILLET_OK);
  CHECK(QuilletCAddDoc(docInfo, "FromC", &doc) == QUILLET_OK);
  CHECK(QuilletCSetDocValue(doc, 3, "1031") == QUILLET_OK);
  CHECK(QuilletCSetDocValue(doc, 6, "Renamed") == QUILLET_E_NOT_FOUND);
  CHECK(QuilletCGetDocValueSized(doc, 3, value, 5) == QUILLET_OK && strcmp(value, "1031") == 0);
  CHECK(QuilletCFindDoc(docInfo, "FromC", &doc) == QUILLET_OK);
  CHECK(QuilletCRemoveDoc(doc) == QUILLET_OK);
  CHECK(QuilletCFindDoc(docInfo, "FromC", &doc) == QUILLET_E_NOT_FOUND);
  QuilletCCloseDocInfo(docInfo);
  CHECK(QuilletCOpenDocInfoFile("/nonexistent/c_caller.dat", &docInfo) == QUILLET_E_NOT_FOUND);
  QuilletCGetLastError(value, sizeof value);
  CHECK(strcmp(value, "File does not exist") == 0);
}

int main(int argc, char** argv) {
  if (argc != 3) {
    printf("usage: c_caller WORKDIR INSTALLED-TITLE-ID\n");
    return 100;
  }
  frame_calls();
  folders(argv[1]);
  title_entries(argv[1], argv[2]);
  if (failures == 0) printf("all checks passed\n");
  return failures;
}
