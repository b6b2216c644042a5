#include "ui/extras/win32/browser_host.h"

#include <exdisp.h>
#include <exdispid.h>
#include <ocidl.h>
#include <oleidl.h>

#include <utility>

#include "common/win32/ansi_text.h"
#include "common/win32/com.h"

namespace horalia::win32 {

// One object is the control's client site, in-place site and frame, and the sink of its
// DWebBrowserEvents2. It is reference counted as COM requires: the control may hold on to it
// after the host is gone, so the host only detaches it.
class BrowserSite final : public IOleClientSite,
                          public IOleInPlaceSite,
                          public IOleInPlaceFrame,
                          public IDispatch {
  public:
    BrowserSite(HWND parent, std::function<void()> onDocumentComplete)
        : parent_(parent), onDocumentComplete_(std::move(onDocumentComplete)) {}

    bool Embed(const RECT& area);
    void Detach();
    IWebBrowser2* Browser() const { return browser_.Get(); }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
            *object = static_cast<IOleClientSite*>(this);
        } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) {
            *object = static_cast<IOleInPlaceSite*>(this);
        } else if (iid == IID_IOleInPlaceFrame || iid == IID_IOleInPlaceUIWindow) {
            *object = static_cast<IOleInPlaceFrame*>(this);
        } else if (iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2) {
            *object = static_cast<IDispatch*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP GetContainer(IOleContainer** container) override {
        *container = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (shared by the in-place site and the frame)
    STDMETHODIMP GetWindow(HWND* window) override {
        *window = parent_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                  LPRECT position, LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO info) override {
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *document = nullptr;
        *position = area_;
        *clip = area_;
        info->fMDIApp = FALSE;
        info->hwndFrame = parent_;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow and IOleInPlaceFrame: no toolbars, menus or status bar.
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IDispatch: only the events' Invoke is called.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                        UINT*) override {
        if (member == DISPID_DOCUMENTCOMPLETE && onDocumentComplete_) {
            // The handler may slide the window and so run nested events; a copy keeps the
            // callable alive should the host be detached meanwhile.
            const std::function<void()> handler = onDocumentComplete_;
            handler();
        }
        return S_OK;
    }

  private:
    ~BrowserSite() = default;

    HWND parent_;
    std::function<void()> onDocumentComplete_;
    RECT area_{};
    ULONG references_ = 1;
    ComPtr<IOleObject> object_;
    ComPtr<IWebBrowser2> browser_;
    ComPtr<IConnectionPoint> events_;
    DWORD cookie_ = 0;
};

bool BrowserSite::Embed(const RECT& area) {
    area_ = area;
    if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&object_)))) {
        return false;
    }
    if (FAILED(object_->SetClientSite(this)) ||
        FAILED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, parent_, &area_)) ||
        FAILED(object_.As(&browser_))) {
        browser_.Reset();
        return false;
    }
    browser_->put_Left(area.left);
    browser_->put_Top(area.top);
    browser_->put_Width(area.right - area.left);
    browser_->put_Height(area.bottom - area.top);

    ComPtr<IConnectionPointContainer> points;
    if (SUCCEEDED(browser_.As(&points)) &&
        SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, &events_)) &&
        FAILED(events_->Advise(static_cast<IDispatch*>(this), &cookie_))) {
        events_.Reset();
    }
    // Without the event the page would never show: treat it as no browser.
    return events_ != nullptr;
}

void BrowserSite::Detach() {
    onDocumentComplete_ = nullptr;
    if (events_ != nullptr) {
        events_->Unadvise(cookie_);
        events_.Reset();
    }
    if (browser_ != nullptr) {
        browser_->Stop();
        browser_.Reset();
    }
    if (object_ != nullptr) {
        object_->Close(OLECLOSE_NOSAVE);
        object_->SetClientSite(nullptr);
        object_.Reset();
    }
}

std::unique_ptr<BrowserHost> BrowserHost::Create(HWND parent, const RECT& area,
                                                 std::function<void()> onDocumentComplete) {
    ComPtr<BrowserSite> site;
    site.Attach(new BrowserSite(parent, std::move(onDocumentComplete)));
    if (!site->Embed(area)) {
        site->Detach();
        return nullptr;
    }
    return std::unique_ptr<BrowserHost>(new BrowserHost(std::move(site)));
}

BrowserHost::BrowserHost(ComPtr<BrowserSite> site) : site_(std::move(site)) {}

BrowserHost::~BrowserHost() {
    site_->Detach();
}

bool BrowserHost::Navigate(const std::string& url) {
    const Bstr address(Utf8ToWide(url));
    VARIANT empty;
    VariantInit(&empty);
    return SUCCEEDED(site_->Browser()->Navigate(address, &empty, &empty, &empty, &empty));
}

}  // namespace horalia::win32
