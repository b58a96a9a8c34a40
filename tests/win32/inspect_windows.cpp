// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Reads what a running program shows, as Windows test tools do, and prints it as one JSON
// document: every top-level window of the program's processes, shown or hidden, with its
// children. Usage: inspect_windows <image name or pid>, for example bargeling.exe.
// Coordinates are screen pixels; rectangles are [left, top, width, height].

#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>
#include <set>
#include <string>

namespace {

std::string utf8(const std::wstring &text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::string json(const std::wstring &text) {
    std::string out = "\"";
    for (char c : utf8(text)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string rect(const RECT &r) {
    char out[64];
    std::snprintf(out, sizeof out, "[%ld, %ld, %ld, %ld]", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return out;
}

// A message to another process's window; a hung program gives no answer rather than a hung tool.
LRESULT ask(HWND window, UINT message, WPARAM w = 0, LPARAM l = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, w, l, SMTO_ABORTIFHUNG, 2000, &result))
        return -1;
    return LRESULT(result);
}

std::wstring text(HWND window) {
    LRESULT length = ask(window, WM_GETTEXTLENGTH);
    if (length <= 0)
        return {};
    std::wstring buffer(size_t(length) + 1, L'\0');
    LRESULT copied = ask(window, WM_GETTEXT, buffer.size(), LPARAM(buffer.data()));
    buffer.resize(copied > 0 ? size_t(copied) : 0);
    return buffer;
}

std::wstring className(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::string describe(HWND window, const std::string &indent);

struct Children {
    HWND parent;
    std::string indent;
    std::string out;
};

BOOL CALLBACK collectChild(HWND child, LPARAM data) {
    auto *children = reinterpret_cast<Children *>(data);
    if (GetAncestor(child, GA_PARENT) != children->parent)
        return TRUE;
    if (!children->out.empty())
        children->out += ",";
    children->out += "\n" + describe(child, children->indent);
    return TRUE;
}

std::string describe(HWND window, const std::string &indent) {
    RECT outer{}, client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    OffsetRect(&client, origin.x, origin.y);
    char head[512];
    std::snprintf(head, sizeof head,
                  "%s{\"hwnd\": %llu, \"owner\": %llu, \"style\": %lu, \"exstyle\": %lu, \"visible\": %s, "
                  "\"id\": %lld, \"window\": %s, \"client\": %s",
                  indent.c_str(), static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)),
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(GetWindow(window, GW_OWNER))),
                  static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)),
                  static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)),
                  IsWindowVisible(window) ? "true" : "false",
                  static_cast<long long>(GetWindowLongPtrW(window, GWLP_ID)), rect(outer).c_str(),
                  rect(client).c_str());
    std::wstring kind = className(window);
    std::string out = head;
    out += ", \"class\": " + json(kind) + ", \"text\": " + json(text(window));
    if (_wcsicmp(kind.c_str(), L"ListBox") == 0) {
        LRESULT count = ask(window, LB_GETCOUNT);
        out += ", \"count\": " + std::to_string(count) + ", \"selected\": " +
               std::to_string(ask(window, LB_GETCURSEL)) + ", \"items\": [";
        for (LRESULT i = 0; i < count; ++i) {
            LRESULT length = ask(window, LB_GETTEXTLEN, i);
            std::wstring item(size_t(length > 0 ? length : 0) + 1, L'\0');
            LRESULT copied = ask(window, LB_GETTEXT, i, LPARAM(item.data()));
            item.resize(copied > 0 ? size_t(copied) : 0);
            out += (i ? ", " : "") + json(item);
        }
        out += "]";
    }
    Children children{window, indent + "  ", {}};
    EnumChildWindows(window, collectChild, LPARAM(&children));
    out += ", \"children\": [" + children.out + (children.out.empty() ? "" : "\n" + indent) + "]}";
    return out;
}

struct TopLevel {
    std::set<DWORD> processes;
    std::string out;
};

BOOL CALLBACK collectTopLevel(HWND window, LPARAM data) {
    auto *windows = reinterpret_cast<TopLevel *>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (windows->processes.count(process)) {
        if (!windows->out.empty())
            windows->out += ",";
        windows->out += "\n" + describe(window, "    ");
    }
    return TRUE;
}

std::set<DWORD> processes(const wchar_t *which) {
    std::set<DWORD> found;
    wchar_t *end = nullptr;
    DWORD pid = std::wcstoul(which, &end, 10);
    if (*which && !*end)
        return {pid};
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (_wcsicmp(entry.szExeFile, which) == 0)
            found.insert(entry.th32ProcessID);
    CloseHandle(snapshot);
    return found;
}

} // namespace

int wmain(int argc, wchar_t **argv) {
    if (argc != 2) {
        std::fputs("usage: inspect_windows <image name or pid>\n", stderr);
        return 2;
    }
    SetProcessDPIAware(); // real pixels, whatever the desktop's DPI
    TopLevel windows{processes(argv[1]), {}};
    EnumWindows(collectTopLevel, LPARAM(&windows));
    HDC screen = GetDC(nullptr);
    std::string pids;
    for (DWORD pid : windows.processes)
        pids += (pids.empty() ? "" : ", ") + std::to_string(pid);
    std::printf("{\"dpi\": %d, \"processes\": [%s], \"windows\": [%s\n]}\n", GetDeviceCaps(screen, LOGPIXELSX),
                pids.c_str(), windows.out.c_str());
    ReleaseDC(nullptr, screen);
    return windows.processes.empty() ? 1 : 0;
}
