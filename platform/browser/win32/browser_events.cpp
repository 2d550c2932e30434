#include "platform/browser/win32/browser_events.h"

#include <exdisp.h>
#include <exdispid.h>

#include "platform/browser/win32/ole_text.h"

namespace pelmorix {

namespace {

// An event's arguments come last first; by-reference ones point at a VARIANT or a value.
VARIANT* Argument(DISPPARAMS& parameters, UINT index) {
  if (index >= parameters.cArgs) return nullptr;
  VARIANT* value = &parameters.rgvarg[parameters.cArgs - 1 - index];
  if (V_VT(value) == (VT_VARIANT | VT_BYREF)) value = V_VARIANTREF(value);
  return value;
}

IDispatch* FrameArgument(DISPPARAMS& parameters) {
  VARIANT* value = Argument(parameters, 0);
  if (!value) return nullptr;
  if (V_VT(value) == VT_DISPATCH) return V_DISPATCH(value);
  if (V_VT(value) == (VT_DISPATCH | VT_BYREF)) return *V_DISPATCHREF(value);
  return nullptr;
}

std::string UrlArgument(DISPPARAMS& parameters) {
  VARIANT* value = Argument(parameters, 1);
  if (!value) return {};
  if (V_VT(value) == VT_BSTR) return AnsiFromBstr(V_BSTR(value));
  if (V_VT(value) == (VT_BSTR | VT_BYREF)) return AnsiFromBstr(*V_BSTRREF(value));
  return {};
}

}  // namespace

bool TBrowserEventSink::Connect(IUnknown& control) {
  TComRef<IConnectionPointContainer> container;
  if (FAILED(control.QueryInterface(IID_IConnectionPointContainer,
                                    reinterpret_cast<void**>(container.Put()))))
    return false;
  TComRef<IConnectionPoint> point;
  if (FAILED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, point.Put()))) return false;
  if (FAILED(point->Advise(static_cast<IDispatch*>(this), &cookie_))) return false;
  point_ = std::move(point);
  return true;
}

void TBrowserEventSink::Disconnect() {
  target_ = nullptr;
  if (point_) point_->Unadvise(cookie_);
  point_.Reset();
}

STDMETHODIMP TBrowserEventSink::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) TBrowserEventSink::AddRef() { return ::InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) TBrowserEventSink::Release() {
  const LONG left = ::InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP TBrowserEventSink::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP TBrowserEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP TBrowserEventSink::Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* parameters,
                                       VARIANT*, EXCEPINFO*, UINT*) {
  if (!parameters) return E_INVALIDARG;
  // A handler may end the browser; this sink stays until the call is over.
  AddRef();
  try {
    Raise(member, *parameters);
  } catch (...) {
    // Nothing may leave through the control. The handlers' own failures were reported by the
    // application's event dispatch already; what is left is a text that did not convert.
  }
  Release();
  return S_OK;
}

void TBrowserEventSink::Raise(DISPID member, DISPPARAMS& parameters) {
  if (!target_) return;
  switch (member) {
    case DISPID_BEFORENAVIGATE2: {
      VARIANT* cancel = Argument(parameters, 6);
      const bool cancelled =
          target_->BeforeNavigate2(FrameArgument(parameters), UrlArgument(parameters));
      // Only a cancel is written: another listener's cancel stands.
      if (cancelled && cancel && V_VT(cancel) == (VT_BOOL | VT_BYREF))
        *V_BOOLREF(cancel) = VARIANT_TRUE;
      break;
    }
    case DISPID_DOCUMENTCOMPLETE:
      target_->DocumentComplete(FrameArgument(parameters), UrlArgument(parameters));
      break;
    case DISPID_DOWNLOADCOMPLETE:
      target_->DownloadComplete();
      break;
    default:
      break;
  }
}

}  // namespace pelmorix
