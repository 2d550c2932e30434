#include "launcher/process_services.h"

namespace pelmorix {

TProcessServices TProcessServices::System() {
  return TProcessServices{
      pelmorix::GetModuleHandleA,    pelmorix::GetProcAddress, pelmorix::CloseHandle,
      pelmorix::GetCurrentProcessId, pelmorix::EnumWindows,    pelmorix::GetWindowThreadProcessId,
      pelmorix::IsWindowVisible,     pelmorix::IsIconic,       pelmorix::PostMessageA};
}

}  // namespace pelmorix
