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

std::optional<std::u16string> textProperty(const uia::ComPtr<uia::Element>& element,
                                           uia::PropertyId property) {
    uia::Variant value;
    if (FAILED(element->GetCurrentPropertyValue(property, value.out())) ||
        value.get().vt != VT_BSTR) {
        return std::nullopt;
    }
    const BSTR text = value.get().bstrVal;
    return fromWide(std::wstring_view(text, ::SysStringLen(text)));
}

std::optional<bool> flagProperty(const uia::ComPtr<uia::Element>& element,
                                 uia::PropertyId property) {
    uia::Variant value;
    if (FAILED(element->GetCurrentPropertyValue(property, value.out())) ||
        value.get().vt != VT_BOOL) {
        return std::nullopt;
    }
    return value.get().boolVal != VARIANT_FALSE;
}

class UiaElement : public AccessibleElement {
  public:
    explicit UiaElement(uia::ComPtr<uia::Element> element) : element_(std::move(element)) {}

    std::optional<AddressBarText> read() override {
        std::optional<std::u16string> text = textProperty(element_, uia::kValueProperty);
        const std::optional<bool> focused =
            text ? flagProperty(element_, uia::kHasKeyboardFocusProperty) : std::nullopt;
        if (!focused) {
            return std::nullopt;
        }
        return AddressBarText{std::move(*text), *focused};
    }

  private:
    uia::ComPtr<uia::Element> element_;
};

class UiaDocument : public AccessibleDocument {
  public:
    // content: the child window that holds the document, if any.
    UiaDocument(uia::ComPtr<uia::Element> element, HWND content)
        : element_(std::move(element)), content_(content) {}

    std::optional<DocumentText> read() override {
        // Chromium gives the page's address as the document's value; a
        // browser seen through its MSAA object (Firefox) as that object's
        // value (accValue).
        std::optional<std::u16string> value = textProperty(element_, uia::kValueProperty);
        if (!value || value->empty()) {
            if (std::optional<std::u16string> legacy =
                    textProperty(element_, uia::kLegacyIAccessibleValueProperty)) {
                value = std::move(legacy);
            }
        }
        const std::optional<bool> offscreen =
            value ? flagProperty(element_, uia::kIsOffscreenProperty) : std::nullopt;
        if (!offscreen) {
            return std::nullopt;
        }
        // Chromium hides a tab's window when another tab comes in front.
        const bool hidden = content_ != nullptr && !::IsWindowVisible(content_);
        return DocumentText{std::move(*value), *offscreen || hidden};
    }

  private:
    uia::ComPtr<uia::Element> element_;
    HWND content_;
};

// The first visible window of the class among the window's descendants.
HWND visibleChild(HWND window, std::u16string_view className) {
    struct Search {
        std::wstring className;
        HWND found = nullptr;
    } search{toWide(className)};
    ::EnumChildWindows(
        window,
        [](HWND child, LPARAM param) -> BOOL {
            Search& s = *reinterpret_cast<Search*>(param);
            std::wstring name(s.className.size() + 2, L'\0');
            name.resize(static_cast<std::size_t>(
                ::GetClassNameW(child, name.data(), static_cast<int>(name.size()))));
            if (name != s.className || !::IsWindowVisible(child)) {
                return TRUE;
            }
            s.found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void intoVariant(uia::Variant& variant, int number) {
    VARIANT* value = variant.out();
    value->vt = VT_I4;
    value->lVal = number;
}

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

uia::ComPtr<uia::Condition> UiaDesktop::condition(uia::PropertyId property, const VARIANT& value,
                                                  uia::PropertyId otherProperty,
                                                  const VARIANT& otherValue) {
    uia::ComPtr<uia::Condition> first;
    uia::ComPtr<uia::Condition> second;
    uia::ComPtr<uia::Condition> both;
    if (FAILED(automation_->CreatePropertyCondition(property, value, first.out())) ||
        FAILED(automation_->CreatePropertyCondition(otherProperty, otherValue, second.out())) ||
        !first || !second ||
        FAILED(automation_->CreateAndCondition(first.get(), second.get(), both.out()))) {
        both.reset();
    }
    return both;
}

uia::ComPtr<uia::Element> UiaDesktop::findFirst(HWND window, int scope,
                                                const uia::ComPtr<uia::Condition>& condition) {
    uia::ComPtr<uia::Element> root;
    uia::ComPtr<uia::Element> found;
    if (!condition || FAILED(automation_->ElementFromHandle(window, root.out())) || !root ||
        FAILED(root->FindFirst(scope, condition.get(), found.out()))) {
        found.reset();
    }
    return found;
}

std::unique_ptr<AccessibleElement> UiaDesktop::findEdit(WindowHandle window,
                                                        const AddressBarKey& key) {
    uia::Variant edit;
    intoVariant(edit, uia::kEditControlType);
    uia::Variant wanted;
    const std::wstring text = toWide(key.value);
    VARIANT* value = wanted.out();
    value->vt = VT_BSTR;
    value->bstrVal = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    const uia::PropertyId property = key.property == AddressBarKey::Property::ClassName
                                         ? uia::kClassNameProperty
                                         : uia::kAutomationIdProperty;
    uia::ComPtr<uia::Element> found =
        findFirst(windowOf(window), uia::kTreeScopeDescendants,
                  condition(uia::kControlTypeProperty, edit.get(), property, wanted.get()));
    return found ? std::make_unique<UiaElement>(std::move(found)) : nullptr;
}

std::unique_ptr<AccessibleDocument> UiaDesktop::findDocument(
    WindowHandle window, std::u16string_view contentWindowClass) {
    HWND content = nullptr;
    if (!contentWindowClass.empty()) {
        content = visibleChild(windowOf(window), contentWindowClass);
        if (content == nullptr) {
            return nullptr;
        }
    }
    uia::Variant document;
    intoVariant(document, uia::kDocumentControlType);
    uia::Variant inSight;
    inSight.out()->vt = VT_BOOL;
    inSight.out()->boolVal = VARIANT_FALSE;
    // One search, which stops at the first match: at the content window
    // itself, or at the page shown above its frames. Firefox's tabs behind
    // are out of sight.
    uia::ComPtr<uia::Element> found =
        findFirst(content != nullptr ? content : windowOf(window), uia::kTreeScopeSubtree,
                  condition(uia::kControlTypeProperty, document.get(), uia::kIsOffscreenProperty,
                            inSight.get()));
    return found ? std::make_unique<UiaDocument>(std::move(found), content) : nullptr;
}

}  // namespace kazunavi
