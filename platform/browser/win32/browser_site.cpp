#include "platform/browser/win32/browser_site.h"

namespace pelmorix {

namespace {

// An out argument that answers "none".
template <class T>
HRESULT None(T** out, HRESULT result) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return result;
}

}  // namespace

STDMETHODIMP TBrowserSite::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IOleClientSite)
    *object = static_cast<IOleClientSite*>(this);
  else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
    *object = static_cast<IOleInPlaceSite*>(this);
  else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
    *object = static_cast<IOleInPlaceFrame*>(this);
  else if (iid == IID_IDocHostUIHandler)
    *object = static_cast<IDocHostUIHandler*>(this);
  else
    return None(object, E_NOINTERFACE);
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) TBrowserSite::AddRef() { return ::InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) TBrowserSite::Release() {
  const LONG left = ::InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP TBrowserSite::GetWindow(::HWND* window) {
  if (!window) return E_POINTER;
  *window = window_;
  return S_OK;
}

STDMETHODIMP TBrowserSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  return None(moniker, E_NOTIMPL);
}

STDMETHODIMP TBrowserSite::GetContainer(IOleContainer** container) {
  return None(container, E_NOINTERFACE);
}

STDMETHODIMP TBrowserSite::GetWindowContext(IOleInPlaceFrame** frame,
                                            IOleInPlaceUIWindow** document, LPRECT position,
                                            LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
  if (!frame || !document || !position || !clip || !info) return E_POINTER;
  AddRef();
  *frame = this;
  *document = nullptr;
  ::GetClientRect(window_, position);
  *clip = *position;
  info->fMDIApp = FALSE;
  info->hwndFrame = ::GetAncestor(window_, GA_ROOT);
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}

STDMETHODIMP TBrowserSite::GetHostInfo(DOCHOSTUIINFO* info) {
  if (!info) return E_POINTER;
  info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_NO3DOUTERBORDER;
  info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
  return S_OK;
}

STDMETHODIMP TBrowserSite::GetOptionKeyPath(LPOLESTR* key, DWORD) { return None(key, S_FALSE); }

STDMETHODIMP TBrowserSite::GetDropTarget(IDropTarget*, IDropTarget** target) {
  return None(target, E_NOTIMPL);
}

STDMETHODIMP TBrowserSite::GetExternal(IDispatch** external) { return None(external, S_FALSE); }

STDMETHODIMP TBrowserSite::TranslateUrl(DWORD, LPWSTR, LPWSTR* translated) {
  return None(translated, S_FALSE);
}

STDMETHODIMP TBrowserSite::FilterDataObject(IDataObject*, IDataObject** filtered) {
  return None(filtered, S_FALSE);
}

}  // namespace pelmorix
