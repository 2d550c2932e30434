#pragma once

#include "platform/ui/win32/win32_api.h"
// After the system's window headers, which it needs.
#include <oaidl.h>
#include <ocidl.h>

#include <string>

#include "platform/browser/win32/com_ref.h"

namespace pelmorix {

// Who hears the browser control's events, with the frame's browser object as the control
// gives it and the address in the system code page.
class TBrowserEventTarget {
 public:
  // Gives back whether to cancel the navigation.
  virtual bool BeforeNavigate2(IDispatch* frame, const std::string& url) = 0;
  virtual void DocumentComplete(IDispatch* frame, const std::string& url) = 0;
  virtual void DownloadComplete() = 0;

 protected:
  ~TBrowserEventTarget() = default;
};

// The sink of the control's DWebBrowserEvents2, joined through its connection point. The
// control may hold the sink a while after Disconnect; it then passes nothing on.
class TBrowserEventSink : public IDispatch {
 public:
  explicit TBrowserEventSink(TBrowserEventTarget& target) : target_(&target) {}
  TBrowserEventSink(const TBrowserEventSink&) = delete;
  TBrowserEventSink& operator=(const TBrowserEventSink&) = delete;

  // False when the control offers no such events.
  bool Connect(IUnknown& control);
  void Disconnect();

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IDispatch: only Invoke is used by a connection point.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*,
                      EXCEPINFO*, UINT*) override;

 private:
  virtual ~TBrowserEventSink() = default;
  void Raise(DISPID member, DISPPARAMS& parameters);

  TBrowserEventTarget* target_;
  TComRef<IConnectionPoint> point_;
  DWORD cookie_ = 0;
  LONG references_ = 1;
};

}  // namespace pelmorix
