// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "accessibility.h"

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

// The answers of our own for the control itself (its name, where it has one; a label's role,
// default action, keyboard shortcut and press) come from the control; every other answer is the
// standard object's. Once disconnected, each answers RPC_E_DISCONNECTED, as
// Windows' proxy of a disconnected object does.
class AccessibleControl::Object final : public IAccessible {
public:
    Object(HWND window, ComRef<IAccessible> standard, const LabelDriver* label, std::wstring name)
        : window_(window)
        , standard_(std::move(standard))
        , label_(label)
        , name_(std::move(name))
    {
    }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    void setName(std::wstring name) { name_ = std::move(name); }

    void disconnect()
    {
        window_ = nullptr;
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

    // IAccessible, where the control has answers of its own.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        if (!standard_ || !isSelf(child) || name_.empty())
            return standard(&IAccessible::get_accName, child, name);
        if (!name)
            return E_POINTER;
        return answerText(name_.data(), static_cast<UINT>(name_.size()), name);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (!isLabel(child))
            return standard(&IAccessible::get_accRole, child, role);
        if (!role)
            return E_POINTER;
        VariantInit(role);
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_PUSHBUTTON;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        if (!isLabel(child))
            return standard(&IAccessible::get_accDefaultAction, child, action);
        if (!action)
            return E_POINTER;
        return answerText(pressVerb, static_cast<UINT>(std::size(pressVerb) - 1), action);
    }
    // None for a label: an "&" in its text is shown, not a mnemonic, and it takes no keys.
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        if (!isLabel(child))
            return standard(&IAccessible::get_accKeyboardShortcut, child, shortcut);
        if (!shortcut)
            return E_POINTER;
        *shortcut = nullptr;
        return S_FALSE;
    }
    // Posted, not run here: the click may open a modal message box, and the screen reader that
    // asked must have its answer now, not when that box is closed. A press refused here, or
    // one that waited in the queue while a box opened, does nothing (see labelcontrol.cpp).
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        if (!isLabel(child))
            return standard(&IAccessible::accDoDefaultAction, child);
        if (!label_->takesPress() || !takesInput(window_))
            return E_FAIL;
        return PostMessageW(window_, pressMessage(), 0, 0) ? S_OK : HRESULT_FROM_WIN32(GetLastError());
    }

    // IAccessible, the standard object's.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard(&IAccessible::get_accParent, parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return standard(&IAccessible::get_accChildCount, count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override
    {
        return standard(&IAccessible::get_accChild, child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override { return standard(&IAccessible::get_accValue, child, value); }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override
    {
        return standard(&IAccessible::get_accDescription, child, description);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override { return standard(&IAccessible::get_accState, child, state); }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return standard(&IAccessible::get_accHelp, child, help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override
    {
        return standard(&IAccessible::get_accHelpTopic, file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard(&IAccessible::get_accFocus, child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override { return standard(&IAccessible::get_accSelection, children); }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return standard(&IAccessible::accSelect, flags, child); }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        return standard(&IAccessible::accLocation, left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        return standard(&IAccessible::accNavigate, direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override { return standard(&IAccessible::accHitTest, x, y, child); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override { return standard(&IAccessible::put_accName, child, name); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override { return standard(&IAccessible::put_accValue, child, value); }

private:
    ~Object() = default;

    // Whether the answer is the label's own; never once disconnected.
    bool isLabel(const VARIANT& child) const { return label_ && isSelf(child); }

    // The standard object's answer; once disconnected, RPC_E_DISCONNECTED with every
    // out-parameter cleared, as COM asks of a failed call.
    template <class Method, class... Arguments>
    HRESULT standard(Method method, Arguments... arguments)
    {
        if (standard_)
            return (standard_.get()->*method)(arguments...);
        (clear(arguments), ...);
        return RPC_E_DISCONNECTED;
    }
    static void clear(VARIANT* out)
    {
        if (out)
            VariantInit(out);
    }
    static void clear(long* out)
    {
        if (out)
            *out = 0;
    }
    template <class Pointee>
    static void clear(Pointee** out)
    {
        if (out)
            *out = nullptr;
    }
    template <class In>
    static void clear(const In&)
    {
    }

    std::atomic<ULONG> references_ = 1;
    HWND window_;
    ComRef<IAccessible> standard_;
    const LabelDriver* label_;
    std::wstring name_;
};

void AccessibleControl::Disconnect::operator()(Object* object) const
{
    object->disconnect();
    object->Release();
}

AccessibleControl::AccessibleControl(const LabelDriver& label)
    : label_(&label)
{
}

AccessibleControl::AccessibleControl() = default;

AccessibleControl::~AccessibleControl() = default;

void AccessibleControl::setName(std::wstring name)
{
    if (object_)
        object_->setName(name);
    name_ = std::move(name);
}

LRESULT AccessibleControl::answer(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (static_cast<LONG>(lParam) != OBJID_CLIENT)
        return 0;
    if (!object_) {
        IAccessible* standard = nullptr;
        if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard))))
            return 0;
        ComRef<IAccessible> held(standard);
        object_.reset(new (std::nothrow) Object(window, std::move(held), label_, name_));
        if (!object_)
            return 0;
    }
    // A failure is an HRESULT, which the caller would pass on as the answer: the system's own
    // object answers instead.
    const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object_.get()));
    return FAILED(static_cast<HRESULT>(result)) ? 0 : result;
}

} // namespace rt::win32
