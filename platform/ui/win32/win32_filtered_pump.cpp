// The filtered pass of the Win32 backend: painting and the allowed controls' own messages are
// taken from the queue; everything else stays queued, in its order, for the next full pass.
#include <vector>

#include "platform/ui/win32/win32_backend.h"

namespace pelmorix {
namespace {

// A window that keeps asking to be painted must not hang the caller.
constexpr int kMaxFilteredMessages = 1000;

}  // namespace

void TWin32Backend::ProcessMessages(const TMessageFilter& filter) {
  std::vector<::HWND> allowed;
  for (const TComponent* control : filter.Clicks) {
    if (::HWND window = WindowOf(*control)) allowed.push_back(window);
  }
  MSG message;
  for (int i = 0; i < kMaxFilteredMessages; ++i) {
    bool taken = ::PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE);
    // A click is the button's own mouse and key messages; the BN_CLICKED it makes is sent to
    // the parent at once, not queued.
    for (size_t k = 0; !taken && k < allowed.size(); ++k)
      taken = ::PeekMessageA(&message, allowed[k], 0, 0, PM_REMOVE);
    if (!taken) return;
    Dispatch(message);
  }
}

}  // namespace pelmorix
