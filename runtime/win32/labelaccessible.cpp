// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "labelaccessible.h"

#include <oleacc.h>

#include <atomic>
#include <iterator>
#include <new>
#include <string>
#include <type_traits>

namespace rt::win32 {

namespace {

// The default action that Windows itself gives its push buttons (in English), and the name of
// the action that the labels offer on Linux (Qt's press action). Not translated: the game's
// texts are Norwegian whatever the system's language, which Windows' own verbs follow; screen
// readers announce a button by its role and name, and scripts and test tools match this word.
constexpr wchar_t pressVerb[] = L"Press";

bool isSelf(const VARIANT& child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT answerText(const wchar_t* text, UINT length, BSTR* answer)
{
    *answer = SysAllocStringLen(text, length);
    return *answer ? S_OK : E_OUTOFMEMORY;
}

} // namespace

UINT pressMessage()
{
    static const UINT message = RegisterWindowMessageW(L"Bargeling.Label.Press");
    return message;
}

bool takesInput(HWND window)
{
    return IsWindowVisible(window) && IsWindowEnabled(window) && IsWindowEnabled(GetAncestor(window, GA_ROOT));
}

ComApartment::ComApartment()
    : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
{
}

ComApartment::~ComApartment()
{
    if (initialized_)
        CoUninitialize();
}

// The methods of our own (role, name, default action, keyboard shortcut, press, window) answer
// from the label's window; every other one is the standard object's. Once disconnected, each
// answers RPC_E_DISCONNECTED, as Windows' proxy of a disconnected object does.
class LabelAccessibility::Object final : public IAccessible, public IOleWindow {
public:
    Object(HWND label, ComRef<IAccessible> standard)
        : label_(label)
        , standard_(std::move(standard))
    {
    }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    void disconnect()
    {
        label_ = nullptr;
        standard_.reset();
        // The stubs of every process that holds the object let it go; their calls fail from now.
        CoDisconnectObject(static_cast<IAccessible*>(this), 0);
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        // __uuidof, not IID_IAccessible: oleacc exports that as data, which MinGW links to the
        // import thunk instead.
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible))
            *object = static_cast<IAccessible*>(this);
        else if (iid == __uuidof(IOleWindow))
            *object = static_cast<IOleWindow*>(this);
        else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch: screen readers call IAccessible's methods themselves; no late binding here.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override
    {
        if (info)
            *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    // IAccessible, our own part.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        if (!name)
            return E_POINTER;
        *name = nullptr;
        if (!isSelf(child))
            return E_INVALIDARG;
        if (!label_)
            return RPC_E_DISCONNECTED;
        // The text as it is: the label shows "&" as it is (SS_NOPREFIX), where the standard
        // object would take it for a mnemonic and leave it out.
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(label_)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(GetWindowTextW(label_, text.data(), static_cast<int>(text.size()))));
        if (text.empty())
            return S_FALSE;
        return answerText(text.data(), static_cast<UINT>(text.size()), name);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (!role)
            return E_POINTER;
        VariantInit(role);
        if (!isSelf(child))
            return E_INVALIDARG;
        if (!label_)
            return RPC_E_DISCONNECTED;
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_PUSHBUTTON;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        if (!action)
            return E_POINTER;
        *action = nullptr;
        if (!isSelf(child))
            return E_INVALIDARG;
        if (!label_)
            return RPC_E_DISCONNECTED;
        return answerText(pressVerb, static_cast<UINT>(std::size(pressVerb) - 1), action);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        // None: an "&" in the text is shown, not a mnemonic, and the label takes no keys.
        if (!shortcut)
            return E_POINTER;
        *shortcut = nullptr;
        if (!isSelf(child))
            return E_INVALIDARG;
        return label_ ? S_FALSE : RPC_E_DISCONNECTED;
    }
    // Posted, not run here: the click may open a modal message box, and the screen reader that
    // asked must have its answer now, not when that box is closed. A press refused here, or
    // one that waited in the queue while a box opened, does nothing (see labelcontrol.cpp).
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        if (!isSelf(child))
            return E_INVALIDARG;
        if (!label_)
            return RPC_E_DISCONNECTED;
        if (!takesInput(label_))
            return E_FAIL;
        return PostMessageW(label_, pressMessage(), 0, 0) ? S_OK : HRESULT_FROM_WIN32(GetLastError());
    }

    // IAccessible, the standard object's part.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override
    {
        return standard_ ? standard_->get_accParent(parent) : disconnected(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override
    {
        return standard_ ? standard_->get_accChildCount(count) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override
    {
        return standard_ ? standard_->get_accChild(child, object) : disconnected(object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return standard_ ? standard_->get_accValue(child, value) : disconnected(value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override
    {
        return standard_ ? standard_->get_accDescription(child, description) : disconnected(description);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        return standard_ ? standard_->get_accState(child, state) : disconnected(state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override
    {
        return standard_ ? standard_->get_accHelp(child, help) : disconnected(help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override
    {
        if (standard_)
            return standard_->get_accHelpTopic(file, child, topic);
        if (topic)
            *topic = 0;
        return disconnected(file);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override
    {
        return standard_ ? standard_->get_accFocus(child) : disconnected(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override
    {
        return standard_ ? standard_->get_accSelection(children) : disconnected(children);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        return standard_ ? standard_->accSelect(flags, child) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        return standard_ ? standard_->accLocation(left, top, width, height, child) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        return standard_ ? standard_->accNavigate(direction, start, end) : disconnected(end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override
    {
        return standard_ ? standard_->accHitTest(x, y, child) : disconnected(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override
    {
        return standard_ ? standard_->put_accName(child, name) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return standard_ ? standard_->put_accValue(child, value) : RPC_E_DISCONNECTED;
    }

    // IOleWindow: the window that WindowFromAccessibleObject names, the label's own.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override
    {
        if (!window)
            return E_POINTER;
        *window = label_;
        return label_ ? S_OK : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

private:
    ~Object() = default;

    // An out-parameter cleared, as COM asks of a failed call.
    template <class Out>
    static HRESULT disconnected(Out* out)
    {
        if (out) {
            if constexpr (std::is_same_v<Out, VARIANT>)
                VariantInit(out);
            else
                *out = nullptr;
        }
        return RPC_E_DISCONNECTED;
    }

    std::atomic<ULONG> references_ = 1;
    HWND label_;
    ComRef<IAccessible> standard_;
};

void LabelAccessibility::Disconnect::operator()(Object* object) const
{
    object->disconnect();
    object->Release();
}

LabelAccessibility::LabelAccessibility() = default;

LabelAccessibility::~LabelAccessibility() = default;

LRESULT LabelAccessibility::answer(HWND label, WPARAM wParam)
{
    if (!object_) {
        IAccessible* standard = nullptr;
        if (FAILED(CreateStdAccessibleObject(label, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard))))
            return 0;
        ComRef<IAccessible> held(standard);
        object_.reset(new (std::nothrow) Object(label, std::move(held)));
        if (!object_)
            return 0;
    }
    // A failure is an HRESULT, which the caller would pass on as the answer: the system's own
    // object answers instead.
    const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object_.get()));
    return FAILED(static_cast<HRESULT>(result)) ? 0 : result;
}

void LabelAccessibility::drop()
{
    object_.reset();
}

} // namespace rt::win32
