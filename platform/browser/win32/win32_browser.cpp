// The browser object's life: the platform's control made, put in place in the toolkit's
// window, kept to its size, and closed again; navigation and the document.
#include "platform/browser/win32/win32_browser.h"

#include "base/exception.h"
#include "platform/browser/win32/browser_site.h"
#include "platform/browser/win32/document_reader.h"
#include "platform/browser/win32/ole_text.h"
#include "platform/ui/win32/win32_backend.h"

namespace pelmorix {

namespace {

// Where the host window keeps the browser object: its user data is the toolkit's.
constexpr char kSelfProperty[] = "PelmorixBrowserHost";

}  // namespace

TWin32Browser::TWin32Browser(TWin32Backend& ui, TWebBrowser& browser) : ui_(ui), browser_(browser) {
  ole_initialised_ = SUCCEEDED(::OleInitialize(nullptr));
  if (ole_initialised_)
    ::CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IWebBrowser2,
                       reinterpret_cast<void**>(control_.Put()));
  control_identity_ = control_.As<IUnknown>(IID_IUnknown);
  ole_object_ = control_.As<IOleObject>(IID_IOleObject);
  if (control_identity_ && ole_object_) {
    events_ = new TBrowserEventSink(*this);
    events_->Connect(*control_identity_.Get());
  } else {
    Close();
  }
  browser_.SetBackend(this);
  if (control_) ui_.WhenWindowReady(browser_, [this](::HWND window) { Host(window); });
}

TWin32Browser::~TWin32Browser() {
  ui_.WhenWindowReady(browser_, nullptr);
  Close();
  if (browser_.Backend() == this) browser_.SetBackend(nullptr);
  if (ole_initialised_) ::OleUninitialize();
}

void TWin32Browser::Host(::HWND window) {
  window_ = window;
  // The toolkit paints the window's face; the control's area is the control's to paint.
  const LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
  ::SetWindowLongPtrA(window, GWL_STYLE, style | WS_CLIPCHILDREN);
  ::SetPropA(window, kSelfProperty, this);
  toolkit_procedure_ = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HostWindowProcedure)));
  Activate(window);
  if (!control_ || !pending_url_) return;
  const std::string url = std::move(*pending_url_);
  pending_url_.reset();
  try {
    Navigate(url);
  } catch (const std::exception&) {
    // The window is being made for the form; a refused address has no caller left to tell.
  }
}

void TWin32Browser::Activate(::HWND window) {
  site_ = new TBrowserSite(window);
  RECT area;
  ::GetClientRect(window, &area);
  IOleClientSite* site = site_;
  if (FAILED(ole_object_->SetClientSite(site)) ||
      FAILED(ole_object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site, 0, window, &area))) {
    Close();
    return;
  }
  in_place_ = control_.As<IOleInPlaceObject>(IID_IOleInPlaceObject);
  FitToWindow();
  ui_.SetKeyboardFilter(browser_, [this](MSG& message) { return TranslateKey(message); });
}

bool TWin32Browser::TranslateKey(MSG& message) {
  // The control's own accelerators: Tab between the page's fields, Enter in a form, copy and
  // paste.
  auto active = control_.As<IOleInPlaceActiveObject>(IID_IOleInPlaceActiveObject);
  return active && active->TranslateAccelerator(&message) == S_OK;
}

void TWin32Browser::Close() {
  ui_.SetKeyboardFilter(browser_, nullptr);
  if (events_) {
    events_->Disconnect();
    std::exchange(events_, nullptr)->Release();
  }
  if (in_place_) in_place_->InPlaceDeactivate();
  in_place_.Reset();
  if (ole_object_) {
    ole_object_->Close(OLECLOSE_NOSAVE);
    ole_object_->SetClientSite(nullptr);
  }
  ole_object_.Reset();
  if (site_) std::exchange(site_, nullptr)->Release();
  if (window_) {
    if (::GetWindowLongPtrA(window_, GWLP_WNDPROC) ==
        reinterpret_cast<LONG_PTR>(&HostWindowProcedure))
      ::SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(toolkit_procedure_));
    ::RemovePropA(window_, kSelfProperty);
    window_ = nullptr;
  }
  inner_frames_.clear();
  control_identity_.Reset();
  control_.Reset();
}

void TWin32Browser::FitToWindow() {
  if (!in_place_ || !window_) return;
  RECT area;
  ::GetClientRect(window_, &area);
  in_place_->SetObjectRects(&area, &area);
}

LRESULT CALLBACK TWin32Browser::HostWindowProcedure(::HWND window, UINT message, WPARAM wparam,
                                                    LPARAM lparam) {
  auto* self = static_cast<TWin32Browser*>(::GetPropA(window, kSelfProperty));
  if (!self) return ::DefWindowProcA(window, message, wparam, lparam);
  const WNDPROC toolkit = self->toolkit_procedure_;
  if (message == WM_DESTROY) {
    // The form goes before the browser object: the control is closed while its window lives.
    self->Close();
    return ::CallWindowProcA(toolkit, window, message, wparam, lparam);
  }
  const LRESULT result = ::CallWindowProcA(toolkit, window, message, wparam, lparam);
  if (message == WM_SIZE) self->FitToWindow();
  return result;
}

::HWND TWin32Browser::ControlWindow() const {
  auto window = control_.As<IOleWindow>(IID_IOleWindow);
  ::HWND handle = nullptr;
  if (!window_ || !window || FAILED(window->GetWindow(&handle))) return nullptr;
  return handle;
}

void TWin32Browser::Navigate(const std::string& url) {
  refresh_hold_.NavigateAsked();
  if (!control_) return;
  if (!window_) {
    pending_url_ = url;
    return;
  }
  TBstr address(url);
  VARIANT none;
  ::VariantInit(&none);
  if (FAILED(control_->Navigate(address.Get(), &none, &none, &none, &none)))
    throw Exception("The browser control cannot navigate to " + url);
}

void TWin32Browser::Refresh() {
  if (!refresh_hold_.MayRefreshNow()) return;
  if (control_ && window_) control_->Refresh();
}

std::shared_ptr<const THTMLDocument> TWin32Browser::Document() {
  if (!control_ || !window_) return nullptr;
  return ReadDocument(*control_.Get());
}

}  // namespace pelmorix
