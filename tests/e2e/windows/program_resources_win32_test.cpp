#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <fstream>
#include <string>

namespace pelmorix::e2e {
namespace {

std::string Program(const std::string& name) { return PELMORIX_BIN_DIR "\\" + name; }

// The program's application manifest (type 24, number 1) as the loader finds it; empty when
// the program has none.
std::string Manifest(const std::string& program) {
  HMODULE module = ::LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) return "<" + program + " not loaded>";
  std::string text;
  if (HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
    const auto* data = static_cast<const char*>(::LockResource(::LoadResource(module, found)));
    if (data != nullptr) text.assign(data, ::SizeofResource(module, found));
  }
  ::FreeLibrary(module);
  return text;
}

// Whether the system's own reader takes the manifest, as it does when the program starts.
bool ManifestIsRead(const std::string& program) {
  ACTCTXA context{};
  context.cbSize = sizeof context;
  context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  context.lpSource = program.c_str();
  context.lpResourceName = MAKEINTRESOURCEA(1);
  HANDLE handle = ::CreateActCtxA(&context);
  if (handle == INVALID_HANDLE_VALUE) return false;
  ::ReleaseActCtx(handle);
  return true;
}

// The subsystem in the program's header: IMAGE_SUBSYSTEM_WINDOWS_GUI or _CUI; 0 when the file
// is not a 64-bit Windows program.
WORD Subsystem(const std::string& program) {
  std::ifstream file(program, std::ios::binary);
  IMAGE_DOS_HEADER dos{};
  file.read(reinterpret_cast<char*>(&dos), sizeof dos);
  IMAGE_NT_HEADERS64 headers{};
  file.seekg(dos.e_lfanew);
  file.read(reinterpret_cast<char*>(&headers), sizeof headers);
  if (!file || dos.e_magic != IMAGE_DOS_SIGNATURE || headers.Signature != IMAGE_NT_SIGNATURE) {
    return 0;
  }
  return headers.OptionalHeader.Subsystem;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Windows raises a program to an administrator's rights only by its manifest: Update.exe asks
// for them, the others run with the caller's. Each declares Windows 7 to 11, and none the DPI
// awareness or the version 6 common controls. The three open no console window; http-get.exe
// is a console program.
TEST(ProgramResourcesWin32, ManifestsAskForTheirRightsAndSubsystemsAreAsMeant) {
  const struct {
    const char* name;
    const char* level;
  } programs[] = {{"Pelmorix.exe", "asInvoker"},
                  {"Update.exe", "requireAdministrator"},
                  {"Helper1.exe", "asInvoker"}};
  for (const auto& program : programs) {
    SCOPED_TRACE(program.name);
    const std::string path = Program(program.name);
    const std::string manifest = Manifest(path);
    EXPECT_TRUE(Contains(manifest, std::string("level=\"") + program.level + "\"")) << manifest;
    for (const char* windows : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",     // 7
                                "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",     // 8
                                "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",     // 8.1
                                "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {  // 10 and 11
      EXPECT_TRUE(Contains(manifest, windows)) << windows << " missing in\n" << manifest;
    }
    EXPECT_FALSE(Contains(manifest, "dpiAware")) << manifest;
    EXPECT_FALSE(Contains(manifest, "Common-Controls")) << manifest;
    EXPECT_TRUE(ManifestIsRead(path))
        << "the system refused the manifest: error " << ::GetLastError();
    EXPECT_EQ(Subsystem(path), IMAGE_SUBSYSTEM_WINDOWS_GUI);
  }
  EXPECT_EQ(Subsystem(Program("http-get.exe")), IMAGE_SUBSYSTEM_WINDOWS_CUI);
}

}  // namespace
}  // namespace pelmorix::e2e
