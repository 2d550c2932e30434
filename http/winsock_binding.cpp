#include "http/winsock_binding.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <vector>

#include "base/format.h"
#include "http/socket_exceptions.h"

namespace pelmorix {
namespace {

constexpr const char* kEntryNames[] = {
    "WSACleanup", "accept", "bind", "closesocket", "connect", "ioctlsocket", "getpeername",
    "getsockname", "getsockopt", "htonl", "htons", "inet_addr", "inet_ntoa", "listen", "ntohl",
    "ntohs", "recv", "recvfrom", "select", "send", "sendto", "setsockopt", "shutdown", "socket",
    "gethostbyaddr", "gethostbyname", "gethostname", "getservbyport", "getservbyname",
    "getprotobynumber", "getprotobyname", "WSASetLastError", "WSAGetLastError",
    // The WinSock 2 extensions.
    "WSAIsBlocking", "WSAUnhookBlockingHook", "WSASetBlockingHook", "WSACancelBlockingCall",
    "WSAAsyncGetServByName", "WSAAsyncGetServByPort", "WSAAsyncGetProtoByName",
    "WSAAsyncGetProtoByNumber", "WSAAsyncGetHostByName", "WSAAsyncGetHostByAddr",
    "WSACancelAsyncRequest", "WSAAsyncSelect", "__WSAFDIsSet", "WSAAccept", "WSACloseEvent",
    "WSAConnect", "WSACreateEvent", "WSADuplicateSocketA", "WSADuplicateSocketW",
    "WSAEnumNetworkEvents", "WSAEnumProtocolsA", "WSAEnumProtocolsW", "WSAEventSelect",
    "WSAGetOverlappedResult", "WSAGetQosByName", "WSAHtonl", "WSAHtons", "WSAIoctl", "WSAJoinLeaf",
    "WSANtohl", "WSANtohs", "WSARecv", "WSARecvDisconnect", "WSARecvFrom", "WSAResetEvent",
    "WSASend", "WSASendDisconnect", "WSASendTo", "WSASetEvent", "WSASocketA", "WSASocketW",
    "WSAWaitForMultipleEvents", "WSAAddressToStringA", "WSAAddressToStringW", "WSAStringToAddressA",
    "WSAStringToAddressW", "WSALookupServiceBeginA", "WSALookupServiceBeginW",
    "WSALookupServiceNextA", "WSALookupServiceNextW", "WSALookupServiceEnd",
    "WSAInstallServiceClassA", "WSAInstallServiceClassW", "WSARemoveServiceClass",
    "WSAGetServiceClassInfoA", "WSAGetServiceClassInfoW", "WSAEnumNameSpaceProvidersA",
    "WSAEnumNameSpaceProvidersW", "WSAGetServiceClassNameByClassIdA",
    "WSAGetServiceClassNameByClassIdW", "WSASetServiceA", "WSASetServiceW",
    "WSAProviderConfigChange",
    // The generic names, bound to the single-byte variants.
    "WSADuplicateSocketA", "WSAEnumProtocolsA", "WSASocketA", "WSAAddressToStringA",
    "WSAStringToAddressA", "WSALookupServiceBeginA", "WSALookupServiceNextA",
    "WSAInstallServiceClassA", "WSAGetServiceClassInfoA", "WSAEnumNameSpaceProvidersA",
    "WSAGetServiceClassNameByClassIdA", "WSASetServiceA",
    // The Microsoft extensions.
    "TransmitFile", "AcceptEx", "GetAcceptExSockaddrs", "WSARecvEx"};
static_assert(std::size(kEntryNames) == TWinSockBinding::kEntryCount);

// The name the system knows the socket library by, in its messages.
constexpr const char* kLibraryName = "WS2_32.DLL";
// The platform's error numbers and texts for a library that is missing or lacks a function,
// and for calls into a library that is not started.
constexpr uint32_t kModuleNotFound = 126;
constexpr uint32_t kProcedureNotFound = 127;
constexpr const char* kNotInitialisedText =
    "Either the application has not called WSAStartup, or WSAStartup failed.";

std::string LoaderErrorText() {
  const char* text = dlerror();
  return text != nullptr ? text : "unknown loader error";
}

// The folders the program's own library lookups search (its run path among them). A loader
// call made through a sanitizer's interceptor would search the interceptor's instead.
std::vector<std::string> ProgramSearchPath() {
  std::vector<std::string> folders;
  void* program = dlopen(nullptr, RTLD_LAZY);
  if (program == nullptr) return folders;
  Dl_serinfo size;
  if (dlinfo(program, RTLD_DI_SERINFOSIZE, &size) == 0) {
    std::vector<char> storage(size.dls_size);
    auto* info = reinterpret_cast<Dl_serinfo*>(storage.data());
    if (dlinfo(program, RTLD_DI_SERINFOSIZE, info) == 0 &&
        dlinfo(program, RTLD_DI_SERINFO, info) == 0) {
      for (unsigned i = 0; i < info->dls_cnt; ++i) folders.push_back(info->dls_serpath[i].dls_name);
    }
  }
  dlclose(program);
  return folders;
}

std::string ProgramFolder() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (length <= 0) return "";
  const std::string program(path, static_cast<size_t>(length));
  return program.substr(0, program.rfind('/') + 1);
}

}  // namespace

const char* TWinSockBinding::EntryName(int entry) { return kEntryNames[entry]; }

TWinSockBinding::TWinSockBinding(std::string libraryFile) : libraryFile_(std::move(libraryFile)) {}

TWinSockBinding::~TWinSockBinding() { Unload(); }

void* TWinSockBinding::LoadLibrary() {
  void* handle = nullptr;
  if (libraryFile_.find('/') == std::string::npos) {
    std::vector<std::string> folders = ProgramSearchPath();
    folders.insert(folders.begin(), ProgramFolder());
    for (const std::string& folder : folders) {
      const std::string candidate =
          folder + (folder.empty() || folder.back() == '/' ? "" : "/") + libraryFile_;
      if (access(candidate.c_str(), F_OK) != 0) continue;
      handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
      if (handle != nullptr) break;
    }
  }
  if (handle == nullptr) handle = dlopen(libraryFile_.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    throw EIdWS2StubError(Format("Error on loading Winsock2 library (%s)", kLibraryName),
                          kModuleNotFound, LoaderErrorText());
  }
  return handle;
}

int TWinSockBinding::Startup(uint16_t version, WSADATA& data) {
  if (libraryHandle_.load() != nullptr) return 0;
  void* handle = LoadLibrary();
  void* expected = nullptr;
  if (!libraryHandle_.compare_exchange_strong(expected, handle)) {
    dlclose(handle);  // another thread's start-up came first
    return 0;
  }
  void* startup = dlsym(handle, "WSAStartup");
  if (startup == nullptr) {
    throw EIdWS2StubError(Format("Error on call Winsock2 library function %s", "WSAStartup"),
                          kProcedureNotFound, LoaderErrorText());
  }
  return reinterpret_cast<TWSAStartupProc>(startup)(version, &data);
}

void TWinSockBinding::Unload() {
  void* handle = libraryHandle_.exchange(nullptr);
  if (handle == nullptr) return;
  dlclose(handle);
  for (auto& slot : slots_) slot.store(nullptr, std::memory_order_release);
}

TWinSockBinding::TProc TWinSockBinding::EnterStub(int entry) {
  void* handle = libraryHandle_.load();
  if (handle == nullptr) {
    throw EIdWS2StubError(Format("Error on call Winsock2 library function %s", EntryName(entry)),
                          WSANOTINITIALISED, kNotInitialisedText);
  }
  void* address = dlsym(handle, EntryName(entry));
  if (address == nullptr) {
    throw EIdWS2StubError(Format("Error on call Winsock2 library function %s", EntryName(entry)),
                          kProcedureNotFound, LoaderErrorText());
  }
  const TProc slot = reinterpret_cast<TProc>(address);
  slots_[entry].store(slot, std::memory_order_release);
  return slot;
}

}  // namespace pelmorix
