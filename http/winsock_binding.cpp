#include "http/winsock_binding.h"

#include "base/format.h"
#include "http/socket_exceptions.h"
#include "http/winsock_library.h"

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

}  // namespace

const char* TWinSockBinding::EntryName(int entry) { return kEntryNames[entry]; }

TWinSockBinding::TWinSockBinding(std::string libraryFile) : libraryFile_(std::move(libraryFile)) {}

TWinSockBinding::~TWinSockBinding() { Unload(); }

void* TWinSockBinding::LoadSocketLibrary() {
  void* handle = OpenWinSockLibrary(libraryFile_);
  if (handle == nullptr) {
    throw EIdWS2StubError(Format("Error on loading Winsock2 library (%s)", kLibraryName),
                          kModuleNotFound, LoaderErrorText());
  }
  return handle;
}

int TWinSockBinding::Startup(uint16_t version, WSADATA& data) {
  if (libraryHandle_.load() != nullptr) return 0;
  void* handle = LoadSocketLibrary();
  void* expected = nullptr;
  if (!libraryHandle_.compare_exchange_strong(expected, handle)) {
    CloseWinSockLibrary(handle);  // another thread's start-up came first
    return 0;
  }
  const TLibraryProc startup = WinSockLibraryFunction(handle, "WSAStartup");
  if (startup == nullptr) {
    throw EIdWS2StubError(Format("Error on call Winsock2 library function %s", "WSAStartup"),
                          kProcedureNotFound, LoaderErrorText());
  }
  return reinterpret_cast<TWSAStartupProc>(startup)(version, &data);
}

void TWinSockBinding::Unload() {
  void* handle = libraryHandle_.exchange(nullptr);
  if (handle == nullptr) return;
  CloseWinSockLibrary(handle);
  for (auto& slot : slots_) slot.store(nullptr, std::memory_order_release);
}

TWinSockBinding::TProc TWinSockBinding::EnterStub(int entry) {
  void* handle = libraryHandle_.load();
  if (handle == nullptr) {
    throw EIdWS2StubError(Format("Error on call Winsock2 library function %s", EntryName(entry)),
                          WSANOTINITIALISED, kNotInitialisedText);
  }
  const TProc slot = WinSockLibraryFunction(handle, EntryName(entry));
  if (slot == nullptr) {
    throw EIdWS2StubError(Format("Error on call Winsock2 library function %s", EntryName(entry)),
                          kProcedureNotFound, LoaderErrorText());
  }
  slots_[entry].store(slot, std::memory_order_release);
  return slot;
}

}  // namespace pelmorix
