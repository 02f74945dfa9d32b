#include "platform/win32/uia_desktop.h"

#include <string>

#include "platform/failure.h"
#include "platform/win32/handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_window_manager.h"

namespace kazunavi {

namespace {

// For each call into another program, and for reaching it.
constexpr DWORD kCallTimeoutMs = 1000;

class UiaElement : public AccessibleElement {
  public:
    explicit UiaElement(uia::ComPtr<uia::Element> element) : element_(std::move(element)) {}

    std::optional<AddressBarText> read() override {
        uia::Variant value;
        if (FAILED(element_->GetCurrentPropertyValue(uia::kValueProperty, value.out())) ||
            value.get().vt != VT_BSTR) {
            return std::nullopt;
        }
        const BSTR text = value.get().bstrVal;
        AddressBarText bar{fromWide(std::wstring_view(text, ::SysStringLen(text))), false};
        uia::Variant focus;
        if (FAILED(
                element_->GetCurrentPropertyValue(uia::kHasKeyboardFocusProperty, focus.out())) ||
            focus.get().vt != VT_BOOL) {
            return std::nullopt;
        }
        bar.focused = focus.get().boolVal != VARIANT_FALSE;
        return bar;
    }

  private:
    uia::ComPtr<uia::Element> element_;
};

std::u16string processPath(DWORD processId) {
    const UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) {
        return {};
    }
    std::wstring path(MAX_PATH * 4, L'\0');
    DWORD size = static_cast<DWORD>(path.size());
    if (!::QueryFullProcessImageNameW(process.get(), 0, path.data(), &size)) {
        return {};
    }
    path.resize(size);
    return fromWide(path);
}

std::u16string wholeTitle(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) {
        return {};
    }
    std::wstring title(static_cast<std::size_t>(length) + 1, L'\0');
    title.resize(static_cast<std::size_t>(::GetWindowTextW(window, title.data(), length + 1)));
    return fromWide(title);
}

}  // namespace

ComApartment::ComApartment() {
    // S_FALSE: joined already, to be left all the same.
    joined_ = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED));
}

ComApartment::~ComApartment() {
    if (joined_) {
        ::CoUninitialize();
    }
}

UiaDesktop::UiaDesktop() {
    if (FAILED(::CoCreateInstance(uia::kCuiAutomation, nullptr, CLSCTX_INPROC_SERVER,
                                  uia::kIidAutomation,
                                  reinterpret_cast<void**>(automation_.out()))) ||
        !automation_) {
        throw Failure("UI Automation is not available");
    }
    uia::ComPtr<uia::Automation2> timed;
    if (SUCCEEDED(automation_->QueryInterface(uia::kIidAutomation2,
                                              reinterpret_cast<void**>(timed.out()))) &&
        timed) {
        timed->put_ConnectionTimeout(kCallTimeoutMs);
        timed->put_TransactionTimeout(kCallTimeoutMs);
    }
}

WindowHandle UiaDesktop::foregroundWindow() {
    return handleOf(::GetForegroundWindow());
}

std::optional<WindowFacts> UiaDesktop::facts(WindowHandle window) {
    const HWND hwnd = windowOf(window);
    DWORD processId = 0;
    if (::GetWindowThreadProcessId(hwnd, &processId) == 0 || processId == ::GetCurrentProcessId()) {
        return std::nullopt;
    }
    std::wstring className(256, L'\0');
    className.resize(static_cast<std::size_t>(
        ::GetClassNameW(hwnd, className.data(), static_cast<int>(className.size()))));
    return WindowFacts{processPath(processId), fromWide(className), wholeTitle(hwnd)};
}

uia::ComPtr<uia::Condition> UiaDesktop::condition(uia::PropertyId property, const VARIANT& value) {
    uia::ComPtr<uia::Condition> made;
    if (FAILED(automation_->CreatePropertyCondition(property, value, made.out()))) {
        made.reset();
    }
    return made;
}

std::unique_ptr<AccessibleElement> UiaDesktop::findEdit(WindowHandle window,
                                                        const AddressBarKey& key) {
    uia::ComPtr<uia::Element> root;
    if (FAILED(automation_->ElementFromHandle(windowOf(window), root.out())) || !root) {
        return nullptr;
    }
    uia::Variant edit;
    edit.out()->vt = VT_I4;
    edit.out()->lVal = uia::kEditControlType;
    uia::Variant wanted;
    const std::wstring text = toWide(key.value);
    VARIANT* value = wanted.out();
    value->vt = VT_BSTR;
    value->bstrVal = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    const uia::PropertyId property = key.property == AddressBarKey::Property::ClassName
                                         ? uia::kClassNameProperty
                                         : uia::kAutomationIdProperty;
    const uia::ComPtr<uia::Condition> isEdit = condition(uia::kControlTypeProperty, edit.get());
    const uia::ComPtr<uia::Condition> hasKey = condition(property, wanted.get());
    uia::ComPtr<uia::Condition> both;
    if (!isEdit || !hasKey ||
        FAILED(automation_->CreateAndCondition(isEdit.get(), hasKey.get(), both.out()))) {
        return nullptr;
    }
    uia::ComPtr<uia::Element> found;
    if (FAILED(root->FindFirst(uia::kTreeScopeDescendants, both.get(), found.out())) || !found) {
        return nullptr;
    }
    return std::make_unique<UiaElement>(std::move(found));
}

}  // namespace kazunavi
