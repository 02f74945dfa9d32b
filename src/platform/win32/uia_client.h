#pragma once

// The few UI Automation client interfaces the program calls. mingw-w64's
// headers declare UI Automation's provider side only, so the client's are
// declared here: each interface's methods in their order in the vtable; the
// slots the program never calls are placeholders, which keep the order. The
// order and the numbers are those of Wine's uiautomationclient.idl (the
// property numbers also mingw-w64's uiautomationclient.h).

#include <objbase.h>
#include <oleauto.h>

#include <utility>

namespace kazunavi::uia {

// {FF48DBA4-60EF-4201-AA87-54103EEF594E}
inline constexpr CLSID kCuiAutomation = {
    0xff48dba4, 0x60ef, 0x4201, {0xaa, 0x87, 0x54, 0x10, 0x3e, 0xef, 0x59, 0x4e}};
// {30CBE57D-D9D0-452A-AB13-7AC5AC4825EE}
inline constexpr IID kIidAutomation = {
    0x30cbe57d, 0xd9d0, 0x452a, {0xab, 0x13, 0x7a, 0xc5, 0xac, 0x48, 0x25, 0xee}};
// {34723AFF-0C9D-49D0-9896-7AB52DF8CD8A}
inline constexpr IID kIidAutomation2 = {
    0x34723aff, 0x0c9d, 0x49d0, {0x98, 0x96, 0x7a, 0xb5, 0x2d, 0xf8, 0xcd, 0x8a}};

using PropertyId = int;
constexpr int kTreeScopeDescendants = 4;
constexpr int kTreeScopeSubtree = 7;  // the element itself and its descendants
constexpr PropertyId kControlTypeProperty = 30003;
constexpr PropertyId kHasKeyboardFocusProperty = 30008;
constexpr PropertyId kAutomationIdProperty = 30011;
constexpr PropertyId kClassNameProperty = 30012;
constexpr PropertyId kIsOffscreenProperty = 30022;
constexpr PropertyId kValueProperty = 30045;
constexpr PropertyId kLegacyIAccessibleValueProperty = 30093;
constexpr int kEditControlType = 50004;
constexpr int kDocumentControlType = 50030;

// COM objects are released, never deleted: no destructor in their vtables.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

struct Condition : IUnknown {};

struct Element : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetFocus() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRuntimeId() = 0;
    virtual HRESULT STDMETHODCALLTYPE FindFirst(int scope, Condition* condition,
                                                Element** found) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindAll() = 0;
    virtual HRESULT STDMETHODCALLTYPE FindFirstBuildCache() = 0;
    virtual HRESULT STDMETHODCALLTYPE FindAllBuildCache() = 0;
    virtual HRESULT STDMETHODCALLTYPE BuildUpdatedCache() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValue(PropertyId property,
                                                              VARIANT* value) = 0;
};

struct Automation : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CompareElements() = 0;
    virtual HRESULT STDMETHODCALLTYPE CompareRuntimeIds() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRootElement() = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromHandle(HWND window, Element** element) = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromPoint() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFocusedElement() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRootElementBuildCache() = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromHandleBuildCache() = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromPointBuildCache() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFocusedElementBuildCache() = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateTreeWalker() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ControlViewWalker() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ContentViewWalker() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_RawViewWalker() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_RawViewCondition() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ControlViewCondition() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ContentViewCondition() = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateCacheRequest() = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateTrueCondition() = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateFalseCondition() = 0;
    virtual HRESULT STDMETHODCALLTYPE CreatePropertyCondition(PropertyId property, VARIANT value,
                                                              Condition** condition) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreatePropertyConditionEx() = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateAndCondition(Condition* first, Condition* second,
                                                         Condition** condition) = 0;
    // 32 more methods up to ElementFromIAccessibleBuildCache.
    // clang-format off
#define KAZUNAVI_UIA_SLOT(n) virtual HRESULT STDMETHODCALLTYPE unused##n() = 0;
    KAZUNAVI_UIA_SLOT(1) KAZUNAVI_UIA_SLOT(2) KAZUNAVI_UIA_SLOT(3) KAZUNAVI_UIA_SLOT(4)
    KAZUNAVI_UIA_SLOT(5) KAZUNAVI_UIA_SLOT(6) KAZUNAVI_UIA_SLOT(7) KAZUNAVI_UIA_SLOT(8)
    KAZUNAVI_UIA_SLOT(9) KAZUNAVI_UIA_SLOT(10) KAZUNAVI_UIA_SLOT(11) KAZUNAVI_UIA_SLOT(12)
    KAZUNAVI_UIA_SLOT(13) KAZUNAVI_UIA_SLOT(14) KAZUNAVI_UIA_SLOT(15) KAZUNAVI_UIA_SLOT(16)
    KAZUNAVI_UIA_SLOT(17) KAZUNAVI_UIA_SLOT(18) KAZUNAVI_UIA_SLOT(19) KAZUNAVI_UIA_SLOT(20)
    KAZUNAVI_UIA_SLOT(21) KAZUNAVI_UIA_SLOT(22) KAZUNAVI_UIA_SLOT(23) KAZUNAVI_UIA_SLOT(24)
    KAZUNAVI_UIA_SLOT(25) KAZUNAVI_UIA_SLOT(26) KAZUNAVI_UIA_SLOT(27) KAZUNAVI_UIA_SLOT(28)
    KAZUNAVI_UIA_SLOT(29) KAZUNAVI_UIA_SLOT(30) KAZUNAVI_UIA_SLOT(31) KAZUNAVI_UIA_SLOT(32)
#undef KAZUNAVI_UIA_SLOT
    // clang-format on
};

// Windows 8 and later: timeouts for the calls into other programs.
struct Automation2 : Automation {
    virtual HRESULT STDMETHODCALLTYPE get_AutoSetFocus() = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AutoSetFocus() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ConnectionTimeout() = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ConnectionTimeout(DWORD milliseconds) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_TransactionTimeout() = 0;
    virtual HRESULT STDMETHODCALLTYPE put_TransactionTimeout(DWORD milliseconds) = 0;
};

#pragma GCC diagnostic pop

// A COM interface pointer, released with its owner.
template <typename T>
class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { reset(); }

    T* operator->() const { return p_; }
    T* get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For a call that gives a new reference; releases the old one first.
    T** out() {
        reset();
        return &p_;
    }
    void reset() {
        if (p_ != nullptr) {
            std::exchange(p_, nullptr)->Release();
        }
    }

  private:
    T* p_ = nullptr;
};

// A VARIANT, cleared with its owner.
class Variant {
  public:
    Variant() { ::VariantInit(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { ::VariantClear(&v_); }
    VARIANT* out() {
        ::VariantClear(&v_);
        return &v_;
    }
    const VARIANT& get() const { return v_; }

  private:
    VARIANT v_;
};

}  // namespace kazunavi::uia
