// The messages the backend's windows receive: the close box, button clicks, the owner-drawn
// buttons, label colours, timers and painting.
#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/timer.h"
#include "platform/ui/win32/win32_backend.h"
#include "platform/ui/win32/win32_graphics.h"

namespace pelmorix {

LRESULT CALLBACK TWin32Backend::WindowProcedure(::HWND window, UINT message, WPARAM wparam,
                                                LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lparam);
    ::SetWindowLongPtrA(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  // Messages before WM_NCCREATE (WM_GETMINMAXINFO) come before the peer is known.
  auto* peer = reinterpret_cast<TPeer*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!peer) return ::DefWindowProcA(window, message, wparam, lparam);
  return peer->backend->HandleMessage(*peer, window, message, wparam, lparam);
}

LRESULT TWin32Backend::HandleMessage(TPeer& peer, ::HWND window, UINT message, WPARAM wparam,
                                     LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:
      if (peer.component == peer.form) {
        TForm& form = *peer.form;
        TForm* closing = &form;
        form.Application().DispatchEvent({TEventSource::Close, closing},
                                         [closing] { closing->Close(); });
        return 0;
      }
      break;
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED) {
        Command(lparam ? reinterpret_cast<::HWND>(lparam) : ControlOfId(peer, LOWORD(wparam)));
        return 0;
      }
      break;
    case DM_GETDEFID:
      // Enter presses the form's default button, wherever on the form it sits.
      for (auto& [component, other] : peers_) {
        auto* button = dynamic_cast<TButton*>(other->component);
        if (other->form == peer.form && button && button->Default() && button->Enabled())
          return MAKELRESULT(::GetDlgCtrlID(other->window), DC_HASDEFID);
      }
      return 0;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      TPeer* button_peer = PeerOfWindow(item->hwndItem);
      auto* button = button_peer ? dynamic_cast<TBitBtn*>(button_peer->component) : nullptr;
      if (!button) break;
      PaintBitBtn(item->hDC, *button, item->rcItem.right - item->rcItem.left,
                  item->rcItem.bottom - item->rcItem.top, (item->itemState & ODS_SELECTED) != 0,
                  (item->itemState & ODS_FOCUS) != 0);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
      TPeer* label_peer = PeerOfWindow(reinterpret_cast<::HWND>(lparam));
      auto* label = label_peer ? dynamic_cast<TLabel*>(label_peer->component) : nullptr;
      if (!label) break;
      HDC dc = reinterpret_cast<HDC>(wparam);
      ::SetTextColor(dc, SystemRGB(label->Font().Color()));
      ::SetBkColor(dc, SystemRGB(label->Color()));
      ::SetDCBrushColor(dc, SystemRGB(label->Color()));
      return reinterpret_cast<LRESULT>(::GetStockObject(DC_BRUSH));
    }
    case WM_TIMER:
      Elapsed(wparam);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT fills the whole window
    case WM_PAINT:
      Paint(peer, window);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcA(window, message, wparam, lparam);
}

::HWND TWin32Backend::ControlOfId(const TPeer& form_peer, int id) const {
  // A dialog's Enter names the default button by its number alone, and it may sit on a panel.
  for (auto& [component, peer] : peers_)
    if (peer->form == form_peer.form && peer->window && ::GetDlgCtrlID(peer->window) == id)
      return peer->window;
  return nullptr;
}

void TWin32Backend::Command(::HWND control) {
  TPeer* peer = control ? PeerOfWindow(control) : nullptr;
  auto* button = peer ? dynamic_cast<TButton*>(peer->component) : nullptr;
  if (!button) return;
  peer->form->Application().DispatchEvent({TEventSource::Click, button},
                                          [button] { button->Click(); });
}

void TWin32Backend::Elapsed(UINT_PTR timer_id) {
  // The identifier is the timer's peer; one that is gone is not looked into.
  for (auto& [component, peer] : peers_) {
    if (reinterpret_cast<UINT_PTR>(peer.get()) != timer_id) continue;
    auto& timer = static_cast<TTimer&>(*peer->component);
    TTimer* elapsed = &timer;
    peer->form->Application().DispatchEvent({TEventSource::Timer, elapsed},
                                            [elapsed] { elapsed->Timer(); });
    return;
  }
}

}  // namespace pelmorix
