#include "platform/ui/headless_backend.h"

#include "platform/ui/application.h"
#include "platform/ui/form.h"

namespace pelmorix {

void THeadlessBackend::ShowForm(TForm& form) {
  form.Application().DispatchEvent([&] { form.DoShow(); });
}

void THeadlessBackend::HideForm(TForm&) {}

void THeadlessBackend::MinimizeForm(TForm&) { ++Minimized; }

HWND THeadlessBackend::FormHandle(TForm& form) {
  auto [entry, added] = handles_.try_emplace(&form, next_handle_);
  if (added) next_handle_ += 0x10;
  return entry->second;
}

void THeadlessBackend::ProcessMessages() {
  ++ProcessMessagesCalls;
  if (OnProcessMessages) OnProcessMessages();
}

void THeadlessBackend::ProcessMessages(const TMessageFilter& filter) {
  ++FilteredProcessMessagesCalls;
  LastFilter = filter;
  if (OnFilteredProcessMessages) OnFilteredProcessMessages();
}

void THeadlessBackend::SetPaintingFrozen(HWND window, bool frozen) {
  FrozenWindow = frozen ? window : 0;
}

}  // namespace pelmorix
