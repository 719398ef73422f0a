#include "ui/common/win32/accessible_control.h"

#include <commctrl.h>

namespace tamlo {
namespace {

// UI Automation's notification, from Windows 10 (1709) on; the program starts without it.
using Listening = BOOL(WINAPI*)();
using HostProvider = HRESULT(WINAPI*)(HWND, IUnknown**);
using RaiseNotification = HRESULT(WINAPI*)(IUnknown*, int kind, int processing, BSTR, BSTR);
constexpr int kNotificationKindOther = 4;
constexpr int kProcessingImportantMostRecent = 1;
constexpr int kProcessingMostRecent = 3;

struct Notifications {
    Listening listening = nullptr;
    HostProvider hostProvider = nullptr;
    RaiseNotification raise = nullptr;
};

const Notifications& SystemNotifications() {
    static const Notifications notifications = [] {
        Notifications found;
        if (HMODULE core =
                LoadLibraryExW(L"uiautomationcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
            found.listening = reinterpret_cast<Listening>(
                reinterpret_cast<void*>(GetProcAddress(core, "UiaClientsAreListening")));
            found.hostProvider = reinterpret_cast<HostProvider>(
                reinterpret_cast<void*>(GetProcAddress(core, "UiaHostProviderFromHwnd")));
            found.raise = reinterpret_cast<RaiseNotification>(
                reinterpret_cast<void*>(GetProcAddress(core, "UiaRaiseNotificationEvent")));
        }
        return found;
    }();
    return notifications;
}

// Whether a reader of UI Automation took the notification. Asked first whether any listens: the
// display changes every 2 ms at the fastest march.
bool Notify(HWND control, std::wstring_view text, int processing, const wchar_t* activity) {
    const Notifications& system = SystemNotifications();
    IUnknown* provider = nullptr;
    if (system.raise == nullptr || system.hostProvider == nullptr || system.listening == nullptr ||
        !system.listening() || FAILED(system.hostProvider(control, &provider))) {
        return false;
    }
    BSTR said = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    BSTR kind = SysAllocString(activity);
    const HRESULT notified = system.raise(provider, kNotificationKindOther, processing, said, kind);
    SysFreeString(kind);
    SysFreeString(said);
    provider->Release();
    return SUCCEEDED(notified);
}

// The live setting of UI Automation, as the system's accessible object is annotated with it.
constexpr GUID kLiveSetting{
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG kAssertive = 2;

template <typename Annotate> void WithAnnotations(Annotate annotate) {
    IAccPropServices* services = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IAccPropServices, reinterpret_cast<void**>(&services)))) {
        annotate(*services);
        services->Release();
    }
}

HRESULT Give(const std::wstring& text, BSTR* out) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

std::wstring TextOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace

void AccessibleControl::Attach(HWND control, Traits traits) {
    if (traits.live) {
        WithAnnotations([control](IAccPropServices& services) {
            VARIANT assertive{};
            assertive.vt = VT_I4;
            assertive.lVal = kAssertive;
            services.SetHwndProp(control, OBJID_CLIENT, CHILDID_SELF, kLiveSetting, assertive);
        });
    }
    SetWindowSubclass(control, ControlProc, 0, reinterpret_cast<DWORD_PTR>(new Traits(traits)));
}

LRESULT CALLBACK AccessibleControl::ControlProc(HWND control, UINT message, WPARAM wParam,
                                                LPARAM lParam, UINT_PTR /*id*/, DWORD_PTR data) {
    auto* traits = reinterpret_cast<Traits*>(data);
    if (message == WM_NCDESTROY) {
        if (traits->live) {
            WithAnnotations([control](IAccPropServices& services) {
                services.ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, &kLiveSetting, 1);
            });
        }
        RemoveWindowSubclass(control, ControlProc, 0);
        delete traits;
    } else if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        IAccessible* standard = nullptr;
        if (SUCCEEDED(CreateStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                                reinterpret_cast<void**>(&standard)))) {
            auto* object = new AccessibleControl(control, standard, *traits);
            const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, object);
            object->Release();
            if (result > 0) {
                return result;
            }
        }
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

void AccessibleControl::Announce(HWND control, std::wstring_view text) {
    if (!Notify(control, text, kProcessingImportantMostRecent, L"Message")) {
        // Where the system has no notification: an alert, and a change of a live region.
        NotifyWinEvent(EVENT_SYSTEM_ALERT, control, OBJID_CLIENT, CHILDID_SELF);
        NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, control, OBJID_CLIENT, CHILDID_SELF);
    }
}

void AccessibleControl::ValueChanged(HWND control, std::wstring_view text) {
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
    // A reader speaks the changes of the object that has the focus, which the game window keeps:
    // the new value is spoken besides, and when it changes faster than speech only the latest
    // waits its turn.
    Notify(control, text, kProcessingMostRecent, L"Value");
}

AccessibleControl::AccessibleControl(HWND control, IAccessible* standard, const Traits& traits)
    : control_(control), standard_(standard), traits_(traits) {}

AccessibleControl::~AccessibleControl() {
    standard_->Release();
}

bool AccessibleControl::IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT AccessibleControl::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG AccessibleControl::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG AccessibleControl::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

HRESULT AccessibleControl::GetTypeInfoCount(UINT* count) {
    return standard_->GetTypeInfoCount(count);
}

HRESULT AccessibleControl::GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) {
    return standard_->GetTypeInfo(index, locale, info);
}

HRESULT AccessibleControl::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                         DISPID* ids) {
    return standard_->GetIDsOfNames(iid, names, count, locale, ids);
}

HRESULT AccessibleControl::Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                  DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                  UINT* argument) {
    return standard_->Invoke(id, iid, locale, flags, params, result, exception, argument);
}

HRESULT AccessibleControl::get_accParent(IDispatch** parent) {
    return standard_->get_accParent(parent);
}

HRESULT AccessibleControl::get_accChildCount(LONG* count) {
    return standard_->get_accChildCount(count);
}

HRESULT AccessibleControl::get_accChild(VARIANT child, IDispatch** object) {
    return standard_->get_accChild(child, object);
}

HRESULT AccessibleControl::get_accName(VARIANT child, BSTR* name) {
    return IsSelf(child) && !traits_.name.empty() ? Give(traits_.name, name)
                                                  : standard_->get_accName(child, name);
}

HRESULT AccessibleControl::get_accValue(VARIANT child, BSTR* value) {
    return IsSelf(child) && traits_.textIsValue ? Give(TextOf(control_), value)
                                                : standard_->get_accValue(child, value);
}

HRESULT AccessibleControl::get_accDescription(VARIANT child, BSTR* description) {
    return standard_->get_accDescription(child, description);
}

HRESULT AccessibleControl::get_accRole(VARIANT child, VARIANT* role) {
    if (!IsSelf(child) || traits_.role == 0) {
        return standard_->get_accRole(child, role);
    }
    if (role == nullptr) {
        return E_INVALIDARG;
    }
    role->vt = VT_I4;
    role->lVal = traits_.role;
    return S_OK;
}

HRESULT AccessibleControl::get_accState(VARIANT child, VARIANT* state) {
    const HRESULT result = standard_->get_accState(child, state);
    if (SUCCEEDED(result) && IsSelf(child) && state->vt == VT_I4) {
        state->lVal = (state->lVal | traits_.states) & ~traits_.notStates;
    }
    return result;
}

HRESULT AccessibleControl::get_accHelp(VARIANT child, BSTR* help) {
    return standard_->get_accHelp(child, help);
}

HRESULT AccessibleControl::get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) {
    return standard_->get_accHelpTopic(file, child, topic);
}

HRESULT AccessibleControl::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return standard_->get_accKeyboardShortcut(child, shortcut);
}

HRESULT AccessibleControl::get_accFocus(VARIANT* child) {
    return standard_->get_accFocus(child);
}

HRESULT AccessibleControl::get_accSelection(VARIANT* children) {
    return standard_->get_accSelection(children);
}

HRESULT AccessibleControl::get_accDefaultAction(VARIANT child, BSTR* action) {
    return IsSelf(child) && !traits_.action.empty()
               ? Give(traits_.action, action)
               : standard_->get_accDefaultAction(child, action);
}

HRESULT AccessibleControl::accSelect(LONG flags, VARIANT child) {
    return standard_->accSelect(flags, child);
}

HRESULT AccessibleControl::accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                       VARIANT child) {
    return standard_->accLocation(left, top, width, height, child);
}

HRESULT AccessibleControl::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
    return standard_->accNavigate(direction, start, end);
}

HRESULT AccessibleControl::accHitTest(LONG left, LONG top, VARIANT* child) {
    return standard_->accHitTest(left, top, child);
}

HRESULT AccessibleControl::accDoDefaultAction(VARIANT child) {
    if (!IsSelf(child) || traits_.command == 0) {
        return standard_->accDoDefaultAction(child);
    }
    // Posted, not sent: the reader has its answer at once, though the command opens a modal
    // window.
    return PostMessageW(GetParent(control_), WM_COMMAND, MAKEWPARAM(traits_.command, 0), 0)
               ? S_OK
               : HRESULT_FROM_WIN32(GetLastError());
}

HRESULT AccessibleControl::put_accName(VARIANT child, BSTR name) {
    return standard_->put_accName(child, name);
}

HRESULT AccessibleControl::put_accValue(VARIANT child, BSTR value) {
    return standard_->put_accValue(child, value);
}

} // namespace tamlo
