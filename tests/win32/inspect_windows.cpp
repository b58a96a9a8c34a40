// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Reads what a running program shows, as Windows test tools do, and prints it as one JSON
// document: every top-level window of the program's processes, shown or hidden, with its
// children. Usage: inspect_windows <image name or pid>, for example bargeling.exe.
// Places are screen pixels, rectangles [left, top, width, height]; texts are UTF-8.
//
// inspect_windows --accessible <hwnd> [--press] reads one window's accessible object from
// another process, as a screen reader does (AccessibleObjectFromWindow): its role, name, default
// action and state, and the window it names; with --press it then does the default action. The
// results of the calls that can fail are HRESULTs, "0x00000000" for S_OK.

#include <windows.h>
#include <oleacc.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>
#include <set>
#include <string>

namespace {

struct Listing {
    HWND parent; // the children of this window; none for the top-level windows
    std::set<DWORD> processes;
    std::string out;
};

void appendText(std::string &out, const std::wstring &text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), size, nullptr, nullptr);
    out.push_back('"');
    for (char c : bytes) {
        char escaped[8];
        if (c == '"' || c == '\\')
            out.append({'\\', c});
        else if (static_cast<unsigned char>(c) < 0x20 && std::snprintf(escaped, sizeof escaped, "\\u%04x", c) > 0)
            out.append(escaped);
        else
            out.push_back(c);
    }
    out.push_back('"');
}

// A message to another process's window; a hung program gives no answer rather than a hung tool.
LRESULT ask(HWND window, UINT message, WPARAM w = 0, LPARAM l = 0) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, message, w, l, SMTO_ABORTIFHUNG, 2000, &result) ? LRESULT(result) : -1;
}

// WM_GETTEXT, or LB_GETTEXT for a list box's item.
std::wstring text(HWND window, UINT lengthMessage, UINT textMessage, WPARAM item = 0) {
    LRESULT length = ask(window, lengthMessage, item);
    std::wstring buffer(size_t(length > 0 ? length : 0) + 1, L'\0');
    LRESULT copied = length > 0 ? ask(window, textMessage, textMessage == WM_GETTEXT ? buffer.size() : item,
                                      LPARAM(buffer.data()))
                                : 0;
    buffer.resize(size_t(copied > 0 ? copied : 0));
    return buffer;
}

BOOL CALLBACK describe(HWND window, LPARAM data);

void describe(HWND window, std::string &out) {
    RECT outer{}, client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    wchar_t kind[256] = {};
    GetClassNameW(window, kind, 256);
    char head[400];
    std::snprintf(head, sizeof head,
                  "{\"hwnd\": %llu, \"owner\": %llu, \"style\": %lu, \"exstyle\": %lu, \"visible\": %s, \"id\": %lld, "
                  "\"window\": [%ld, %ld, %ld, %ld], \"client\": [%ld, %ld, %ld, %ld], \"class\": ",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)),
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(GetWindow(window, GW_OWNER))),
                  static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)),
                  static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)),
                  IsWindowVisible(window) ? "true" : "false", static_cast<long long>(GetWindowLongPtrW(window, GWLP_ID)),
                  outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top, origin.x, origin.y,
                  client.right, client.bottom);
    out.append(head);
    appendText(out, kind);
    out.append(", \"text\": ");
    appendText(out, text(window, WM_GETTEXTLENGTH, WM_GETTEXT));
    // A static control that shows an icon says whether it has one: a message box may keep its
    // icon's control, empty, where it shows none.
    if (_wcsicmp(kind, L"Static") == 0 && (GetWindowLongW(window, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        const LRESULT icon = ask(window, STM_GETICON);
        out.append(std::string(", \"icon\": ") + (icon != 0 && icon != -1 ? "true" : "false"));
    }
    if (_wcsicmp(kind, L"ListBox") == 0) {
        LRESULT count = ask(window, LB_GETCOUNT);
        out.append(", \"count\": " + std::to_string(count) + ", \"selected\": " +
                   std::to_string(ask(window, LB_GETCURSEL)) + ", \"items\": [");
        for (LRESULT i = 0; i < count; ++i) {
            out.append(i ? ", " : "");
            appendText(out, text(window, LB_GETTEXTLEN, LB_GETTEXT, WPARAM(i)));
        }
        out.append("]");
    }
    Listing children{window, {}, {}};
    EnumChildWindows(window, describe, LPARAM(&children));
    out.append(", \"children\": [" + children.out + "]}");
}

// One window of the listing, when it belongs there: EnumChildWindows also walks grandchildren,
// and each window lists only its own children.
BOOL CALLBACK describe(HWND window, LPARAM data) {
    auto *listing = reinterpret_cast<Listing *>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (listing->parent ? GetAncestor(window, GA_PARENT) != listing->parent : !listing->processes.count(process))
        return TRUE;
    listing->out.append(listing->out.empty() ? "\n" : ",\n");
    describe(window, listing->out);
    return TRUE;
}

std::set<DWORD> processes(const wchar_t *which) {
    wchar_t *end = nullptr;
    DWORD pid = std::wcstoul(which, &end, 10);
    if (*which && !*end)
        return {pid};
    std::set<DWORD> found;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (_wcsicmp(entry.szExeFile, which) == 0)
            found.insert(entry.th32ProcessID);
    CloseHandle(snapshot);
    return found;
}

std::string hresult(HRESULT result) {
    char text[16];
    std::snprintf(text, sizeof text, "\"0x%08lx\"", static_cast<unsigned long>(result));
    return text;
}

// A text that an accessible object answered, or null where it answered none.
void appendAnswer(std::string &out, HRESULT result, BSTR text) {
    if (result == S_OK && text)
        appendText(out, std::wstring(text, SysStringLen(text)));
    else
        out.append("null");
    SysFreeString(text);
}

// Prints the accessible object of the window; 1 when there is none.
int describeAccessible(HWND window, bool press) {
    std::string out = "{\"hwnd\": " + std::to_string(reinterpret_cast<UINT_PTR>(window));
    IAccessible *object = nullptr;
    // __uuidof: oleacc exports IID_IAccessible as data, which MinGW links to the import thunk.
    HRESULT found = AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), __uuidof(IAccessible),
                                               reinterpret_cast<void **>(&object));
    if (FAILED(found) || !object) {
        std::printf("%s, \"error\": %s}\n", out.c_str(), hresult(found).c_str());
        return 1;
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role{}, state{};
    object->get_accRole(self, &role);
    out.append(", \"role\": " + (role.vt == VT_I4 ? std::to_string(role.lVal) : std::string("null")));
    wchar_t roleText[128] = {};
    if (role.vt == VT_I4)
        GetRoleTextW(DWORD(role.lVal), roleText, 128);
    out.append(", \"roleText\": ");
    appendText(out, roleText);
    out.append(", \"name\": ");
    BSTR text = nullptr;
    HRESULT result = object->get_accName(self, &text);
    appendAnswer(out, result, text);
    out.append(", \"defaultAction\": ");
    text = nullptr;
    result = object->get_accDefaultAction(self, &text);
    appendAnswer(out, result, text);
    object->get_accState(self, &state);
    out.append(", \"state\": " + (state.vt == VT_I4 ? std::to_string(state.lVal) : std::string("null")));
    HWND named = nullptr;
    WindowFromAccessibleObject(object, &named);
    out.append(", \"window\": " + std::to_string(reinterpret_cast<UINT_PTR>(named)));
    if (press)
        out.append(", \"press\": " + hresult(object->accDoDefaultAction(self)));
    VariantClear(&role);
    VariantClear(&state);
    object->Release();
    std::printf("%s}\n", out.c_str());
    return 0;
}

} // namespace

int wmain(int argc, wchar_t **argv) {
    bool accessible = argc >= 3 && std::wcscmp(argv[1], L"--accessible") == 0;
    bool press = accessible && argc == 4 && std::wcscmp(argv[3], L"--press") == 0;
    if (accessible ? argc != 3 && !press : argc != 2) {
        std::fputs("usage: inspect_windows <image name or pid>\n"
                   "       inspect_windows --accessible <hwnd> [--press]\n",
                   stderr);
        return 2;
    }
    if (accessible) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        int status = describeAccessible(reinterpret_cast<HWND>(UINT_PTR(std::wcstoull(argv[2], nullptr, 10))), press);
        CoUninitialize();
        return status;
    }
    SetProcessDPIAware(); // real pixels, whatever the desktop's DPI
    Listing windows{nullptr, processes(argv[1]), {}};
    EnumWindows(describe, LPARAM(&windows));
    HDC screen = GetDC(nullptr);
    std::printf("{\"dpi\": %d, \"windows\": [%s]}\n", GetDeviceCaps(screen, LOGPIXELSX), windows.out.c_str());
    ReleaseDC(nullptr, screen);
    return windows.processes.empty() ? 1 : 0;
}
