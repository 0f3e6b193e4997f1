// Installing and removing help titles through the DLL on the Win32 backend, with texts
// in the ANSI code page; the lock on HTML Help's files (LockFileEx); the names that
// programs built with Microsoft's compiler call; and the calling example, run as an
// installer would run it.
#include <windows.h>

#include <stdlib.h>

#include <string>

#include "HelpEnvironment.h"
#include "quillet/quillet.h"
#include "quillet/quillet_c.h"

namespace quillet::windows_test {
namespace {

using InstallTest = HelpEnvironmentTest;

// The value `id` of the registered title `titleId`, read back through the DLL.
std::string RegisteredValue(const std::string& titleId, long id) {
  unsigned long docInfo = 0, doc = 0;
  if (QuilletOpenDocInfo(&docInfo) != 0) return "(no registry)";
  std::string value = "(not registered)";
  if (QuilletFindDoc(docInfo, titleId.c_str(), &doc) == 0) {
    value = DocValue(doc, id);
    QuilletCloseDoc(doc);
  }
  QuilletCloseDocInfo(docInfo);
  return value;
}

bool HasFolder(const std::string& title) {
  unsigned long collection = 0, folder = 0;
  if (QuilletLoadDefaultCollection(&collection) != 0) return false;
  const bool found = QuilletFindFolder(collection, title.c_str(), &folder) == 0;
  QuilletReleaseCollection(collection);
  return found;
}

class InstallModeTest : public HelpEnvironmentTest, public ::testing::WithParamInterface<bool> {};

TEST_P(InstallModeTest, InstallThenRemove) {
  QuilletSetSafeMode(GetParam() ? 1 : 0);
  SetUpHelp();
  const std::string chm = WorkDirectory() + "guide.chm", chi = WorkDirectory() + "guide.chi";
  EXPECT_EQ(QuilletInstall("Tools\\Editors", chm.c_str(), chi.c_str(), "Guide"), 7);
  EXPECT_EQ(LastError(), "CHM file does not exist");
  WriteBytes(chm, "chm");
  EXPECT_EQ(QuilletInstall("Tools\\Editors", chm.c_str(), chi.c_str(), "Guide"), 8);
  WriteBytes(chi, "chi");

  ASSERT_EQ(QuilletInstall("Tools\\Editors", chm.c_str(), chi.c_str(), "Guide"), 0);
  std::string values;
  for (long id = 1; id <= 5; ++id) values += RegisteredValue("Guide", id) + "|";
  EXPECT_EQ(values, chm + "|" + chi + "|1033|1|TESSALY-10-Local|");
  EXPECT_TRUE(HasFolder("=Guide"));

  ASSERT_EQ(QuilletRemove("Tools", "Guide"), 0);
  EXPECT_EQ(RegisteredValue("Guide", 1), "(not registered)");
  EXPECT_FALSE(HasFolder("Editors"));
  EXPECT_TRUE(FilesMatching(WorkDirectory(), "*.qtmp").empty());
  EXPECT_TRUE(FilesMatching(HelpDirectory(), "*.qtmp").empty());
}

INSTANTIATE_TEST_SUITE_P(Windows, InstallModeTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "safe_mode" : "classic");
                         });

// Code page 1252 (Wine's default, and Western European Windows'): the ANSI texts of the
// calls are written to HTML Help's files as the same bytes, read back as the same
// texts, and name files on disk. 0x80 is the euro sign, 0x8C "Œ", 0xDC "Ü", 0xE9 "é";
// 0x81 is a byte the code page leaves undefined. Outside Latin-1, the euro sign and
// "Œ" are where a conversion through any other code page would show.
TEST_F(InstallTest, AnsiTextsInCodePage1252) {
  ASSERT_EQ(GetACP(), 1252u) << "these texts are written for code page 1252";
  QuilletSetSafeMode(1);
  SetUpHelp();
  const std::string title = "\xDC" "ber \x80 A\x81" "B";
  const std::string folder = "Caf\xE9\\\x8Cuvre";
  const std::string chm = WorkDirectory() + "Hilfe \x80\\\xDC" "bersicht.chm";
  const std::string chi = WorkDirectory() + "Hilfe \x80\\\xDC" "bersicht.chi";
  WriteBytes(chm, "chm");
  WriteBytes(chi, "chi");
  ASSERT_EQ(QuilletInstall(folder.c_str(), chm.c_str(), chi.c_str(), title.c_str()), 0) << LastError();

  EXPECT_EQ(RegisteredValue(title, 1), chm);
  EXPECT_TRUE(HasFolder("=" + title));
  EXPECT_TRUE(HasFolder("\x8Cuvre"));
  const std::string registry = ReadBytes(registry_);
  EXPECT_NE(registry.find("<DocCompId value=\"" + title + "\"/>"), std::string::npos) << registry;
  EXPECT_NE(registry.find(chm), std::string::npos) << registry;
  const std::string collection = ReadBytes(collection_);
  EXPECT_NE(collection.find("\"Caf\xE9\""), std::string::npos) << collection;
  EXPECT_NE(collection.find("\"=" + title + "\""), std::string::npos) << collection;

  ASSERT_EQ(QuilletRemove("Caf\xE9", title.c_str()), 0);
  EXPECT_EQ(RegisteredValue(title, 1), "(not registered)");
  EXPECT_FALSE(HasFolder("\x8Cuvre"));
}

// Both files in a folder whose name holds characters of the code page beyond Latin-1:
// each is opened, saved and backed up under its own name.
TEST_F(InstallTest, FileNamesInCodePage1252) {
  QuilletSetSafeMode(1);
  const std::string folder = WorkDirectory() + "\x80uro \x8Cuvre\\";
  collection_ = folder + "\x8C" "uvre.col";
  registry_ = HelpDirectory() + "HHCOLREG.DAT";
  NameDefaultCollection(collection_);
  WriteBytes(collection_, CollectionText());
  WriteBytes(registry_, RegistryText(collection_));
  const std::string named = folder + "hhcolreg.dat";
  WriteBytes(named, RegistryText(collection_));

  unsigned long docInfo = 0;
  ASSERT_EQ(QuilletOpenDocInfo(named.c_str(), &docInfo), 0) << LastError();
  QuilletCloseDocInfo(docInfo);
  WriteBytes(folder + "t.chm", "chm");
  ASSERT_EQ(QuilletInstall("Books", (folder + "t.chm").c_str(), (folder + "t.chm").c_str(), "T"), 0) << LastError();
  EXPECT_NE(ReadBytes(collection_).find("\"=T\""), std::string::npos);
  EXPECT_EQ(QuilletBackupDefaultCollection(), 0) << LastError();
  EXPECT_EQ(ReadBytes(folder + "\x8C" "uvre.bak"), ReadBytes(collection_));
  EXPECT_EQ(FilesMatching(folder, "*").size(), 4u);  // .col, .bak, hhcolreg.dat, t.chm
}

// Another program holding the lock on HTML Help's files keeps an install waiting, and
// failing once the wait runs out; the lock file sits beside hhcolreg.dat.
TEST_F(InstallTest, WaitsForTheFilesLock) {
  SetUpHelp();
  const std::string chm = WorkDirectory() + "guide.chm";
  WriteBytes(chm, "chm");
  _putenv("QUILLET_LOCK_TIMEOUT=0.3");
  HANDLE other = CreateFileA((HelpDirectory() + "hhcolreg.lck").c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  OVERLAPPED at = {};
  ASSERT_TRUE(LockFileEx(other, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at));

  const DWORD start = GetTickCount();
  EXPECT_EQ(QuilletInstall("Books", chm.c_str(), chm.c_str(), "Guide"), QUILLET_E_LOCKED);
  EXPECT_GE(GetTickCount() - start, 250u);
  EXPECT_NE(LastError().find("locked"), std::string::npos) << LastError();
  EXPECT_EQ(RegisteredValue("Guide", 1), "(not registered)");

  UnlockFileEx(other, 0, 1, 0, &at);
  CloseHandle(other);
  EXPECT_EQ(QuilletInstall("Books", chm.c_str(), chm.c_str(), "Guide"), 0);
}

// Sets a file's last change `hours` from now.
void Touch(const std::string& path, int hours) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER when;
  when.LowPart = now.dwLowDateTime;
  when.HighPart = now.dwHighDateTime;
  when.QuadPart += static_cast<long long>(hours) * 3600 * 10000000LL;
  FILETIME time = {when.LowPart, when.HighPart};
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
  CloseHandle(file);
}

// What a killed program left beside the registry goes with the next save under the
// lock, whatever the letter case it named the registry in; what may belong to a save
// still going on, or is not such a temporary, stays.
TEST_F(InstallTest, StaleTemporariesGo) {
  SetUpHelp();
  const std::string chm = WorkDirectory() + "guide.chm";
  WriteBytes(chm, "chm");
  const std::string stale = HelpDirectory() + "hhcolreg.dat.0123456789abcdef.qtmp",
                    staleUpper = registry_ + ".00112233445566aa.qtmp", recent = registry_ + ".fedcba9876543210.qtmp",
                    other = registry_ + ".not-a-temporary.qtmp";
  for (const std::string& path : {stale, staleUpper, recent, other}) WriteBytes(path, "partial");
  for (const std::string& path : {stale, staleUpper, other}) Touch(path, -1);
  Touch(recent, 1);
  ASSERT_EQ(QuilletInstall("Books", chm.c_str(), chm.c_str(), "Guide"), 0);
  EXPECT_FALSE(Exists(stale));
  EXPECT_FALSE(Exists(staleUpper));
  EXPECT_TRUE(Exists(recent));
  EXPECT_TRUE(Exists(other));
}

// A program built with Microsoft's compiler against quillet.h asks for this name.
TEST(ExportTest, MicrosoftNameCalls) {
#ifdef _WIN64
  const char* name = "?QuilletGetVersion@@YAXPEAD@Z";
#else
  const char* name = "?QuilletGetVersion@@YAXPAD@Z";
#endif
  HMODULE dll = GetModuleHandleA("QUILLET.dll");
  ASSERT_NE(dll, nullptr);
  using GetVersion = void (*)(char*);
  const auto call = reinterpret_cast<GetVersion>(reinterpret_cast<void (*)()>(GetProcAddress(dll, name)));
  ASSERT_NE(call, nullptr) << name;
  char version[64] = {};
  call(version);
  EXPECT_STREQ(version, "Tessaly QUILLET Version 1.0.0 - Build 002");
}

// Runs `arguments` with the calling example beside this program; its exit code.
DWORD RunExample(const std::string& arguments) {
  char self[MAX_PATH + 1];
  const DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
  std::string program(self, length);
  program = program.substr(0, program.find_last_of('\\') + 1) + "install_title.exe";
  std::string commandLine = "\"" + program + "\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    ADD_FAILURE() << "cannot run " << program << ": error " << GetLastError();
    return 255;
  }
  DWORD code = 255;
  if (WaitForSingleObject(process.hProcess, 60 * 1000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

TEST_F(InstallTest, CallingExample) {
  SetUpHelp();
  const std::string chm = WorkDirectory() + "guide.chm", chi = WorkDirectory() + "guide.chi";
  EXPECT_EQ(RunExample("install Tools " + chm + " " + chi + " Guide"), 1u);  // no such files yet
  WriteBytes(chm, "chm");
  WriteBytes(chi, "chi");
  EXPECT_EQ(RunExample("install \"Tools\\Editors\" " + chm + " " + chi + " Guide"), 0u);
  EXPECT_EQ(RegisteredValue("Guide", 2), chi);
  EXPECT_TRUE(HasFolder("=Guide"));
  EXPECT_EQ(RunExample("remove Tools\\Editors\\=Guide Guide"), 0u);
  EXPECT_EQ(RegisteredValue("Guide", 2), "(not registered)");
  EXPECT_FALSE(HasFolder("=Guide"));
  EXPECT_TRUE(HasFolder("Editors"));
  EXPECT_EQ(RunExample("uninstall"), 2u);
}

}  // namespace
}  // namespace quillet::windows_test
