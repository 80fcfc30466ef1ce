#include "app/BrowserHost_win32.h"

#include <exdisp.h>
#include <ole2.h>
#include <oleauto.h>

#include <string>

namespace {

constexpr wchar_t kHostClass[] = L"ProxySwitcherBrowserHost";

template <typename T>
void ReleaseAndClear(T*& pointer) {
  if (pointer != nullptr) {
    pointer->Release();
    pointer = nullptr;
  }
}

}  // namespace

// One COM object plays client site, in-place site and in-place frame. The
// frame has no menus, toolbars or status line: the browser asks and is told no.
class BrowserHost::Site final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
 public:
  explicit Site(HWND window) : window_(window) {}

  bool Open(std::wstring_view url) {
    if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                reinterpret_cast<void**>(&object_)))) {
      return false;
    }
    if (FAILED(object_->SetClientSite(this))) return false;
    RECT area{};
    GetClientRect(window_, &area);
    if (FAILED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, window_, &area))) return false;
    if (FAILED(object_->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser_)))) return false;
    BSTR address = SysAllocStringLen(url.data(), static_cast<UINT>(url.size()));
    VARIANT empty;
    VariantInit(&empty);
    browser_->Navigate(address, &empty, &empty, &empty, &empty);
    SysFreeString(address);
    return true;
  }

  void Close() {
    if (inPlace_ != nullptr) inPlace_->InPlaceDeactivate();
    ReleaseAndClear(inPlace_);
    ReleaseAndClear(browser_);
    if (object_ != nullptr) {
      object_->Close(OLECLOSE_NOSAVE);
      object_->SetClientSite(nullptr);
    }
    ReleaseAndClear(object_);
  }

  bool Running() const { return browser_ != nullptr; }

  void Resize(const RECT& area) {
    if (inPlace_ != nullptr) inPlace_->SetObjectRects(&area, &area);
  }

  void Focus() {
    if (object_ == nullptr) return;
    RECT area{};
    GetClientRect(window_, &area);
    object_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, this, 0, window_, &area);
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite)) {
      *out = static_cast<IOleClientSite*>(this);
    } else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite)) {
      *out = static_cast<IOleInPlaceSite*>(this);
    } else if (IsEqualIID(iid, IID_IOleInPlaceUIWindow) || IsEqualIID(iid, IID_IOleInPlaceFrame)) {
      *out = static_cast<IOleInPlaceFrame*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // IOleClientSite
  HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** out) override {
    if (out != nullptr) *out = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow (shared by the in-place site and the frame)
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override {
    if (out == nullptr) return E_POINTER;
    *out = window_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override {
    ReleaseAndClear(inPlace_);
    if (object_ != nullptr) {
      object_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace_));
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                             LPRECT position, LPRECT clip,
                                             LPOLEINPLACEFRAMEINFO info) override {
    if (frame == nullptr || document == nullptr || position == nullptr || clip == nullptr ||
        info == nullptr) {
      return E_POINTER;
    }
    *frame = this;
    AddRef();
    *document = nullptr;
    GetClientRect(window_, position);
    *clip = *position;
    info->fMDIApp = FALSE;
    info->hwndFrame = window_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override {
    ReleaseAndClear(inPlace_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT area) override {
    if (inPlace_ != nullptr && area != nullptr) inPlace_->SetObjectRects(area, area);
    return S_OK;
  }

  // IOleInPlaceUIWindow and IOleInPlaceFrame
  HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

 private:
  ~Site() = default;

  HWND window_;
  ULONG references_ = 1;
  IOleObject* object_ = nullptr;
  IOleInPlaceObject* inPlace_ = nullptr;
  IWebBrowser2* browser_ = nullptr;
};

BrowserHost::BrowserHost(HWND parent, int id, const RECT& place, std::wstring_view url) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = HostProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  windowClass.lpszClassName = kHostClass;
  RegisterClassExW(&windowClass);  // fails harmlessly when already registered

  window_ = CreateWindowExW(0, kHostClass, L"", WS_CHILD | WS_TABSTOP | WS_CLIPCHILDREN, place.left, place.top,
                            place.right - place.left, place.bottom - place.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
  if (window_ == nullptr) return;
  site_ = new Site(window_);
  if (!site_->Open(url)) Close();
}

BrowserHost::~BrowserHost() {
  Close();
  if (window_ != nullptr && IsWindow(window_)) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  }
}

bool BrowserHost::HasBrowser() const { return site_ != nullptr && site_->Running(); }

void BrowserHost::Close() {
  if (site_ == nullptr) return;
  site_->Close();
  site_->Release();
  site_ = nullptr;
}

LRESULT CALLBACK BrowserHost::HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<BrowserHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_SIZE:
      if (self != nullptr && self->site_ != nullptr) {
        RECT area{};
        GetClientRect(window, &area);
        self->site_->Resize(area);
      }
      return 0;
    case WM_SETFOCUS:
      // Tab lands on the host window; hand the focus on to the browser.
      if (self != nullptr && self->site_ != nullptr) self->site_->Focus();
      return 0;
    case WM_DESTROY:
      // The browser's windows go with ours: let go of it while they still exist.
      if (self != nullptr) self->Close();
      return 0;
    case WM_NCDESTROY:
      if (self != nullptr) self->window_ = nullptr;
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
