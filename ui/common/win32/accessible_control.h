#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <string_view>

namespace tamlo {

// What a screen reader gets of a control whose standard accessible object does not say what it
// is: a name of its own, another role, states added, and a default action that chooses a command
// of the control's window. Everything else comes from the system's own object for the control,
// which this one wraps.
class AccessibleControl final : public IAccessible {
public:
    struct Traits {
        std::wstring name{}; // empty: the system's (a label's text)
        LONG role = 0;       // 0: the system's
        LONG states = 0;     // besides the system's
        LONG notStates = 0;  // of the system's, those that do not hold
        // The value is the control's text, whatever kind of window draws it.
        bool textIsValue = false;
        std::wstring action{}; // the default action's name; empty: the system's
        int command = 0;       // what the default action sends the parent, as WM_COMMAND
        // A live region whose changes are spoken at once, for readers that learn of a message
        // from the region changing.
        bool live = false;
    };

    // Gives control these traits for as long as the window lives. Readers in other processes
    // reach them only where the thread has initialised COM.
    static void Attach(HWND control, Traits traits);
    // Tells a screen reader to speak text, the control's new text, now, wherever the focus is.
    static void Announce(HWND control, std::wstring_view text);
    // Tells a screen reader that the control's value has changed to text.
    static void ValueChanged(HWND control, std::wstring_view text);

    AccessibleControl(const AccessibleControl&) = delete;
    AccessibleControl& operator=(const AccessibleControl&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argument) override;
    // IAccessible: what the traits change for the control itself; the rest is the system's.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

private:
    AccessibleControl(HWND control, IAccessible* standard, const Traits& traits);
    ~AccessibleControl();

    static LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR data);
    static bool IsSelf(const VARIANT& child);

    LONG references_ = 1;
    HWND control_;
    IAccessible* standard_;
    // A copy: a reader may hold this object after the window has gone.
    Traits traits_;
};

} // namespace tamlo
