#include "korvant-sim/com/SimComWindow.h"

#include "korvant-sim/com/SimComControl.h"
#include "korvant-sim/com/SimComObjects.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <iterator>

namespace simcom {

namespace {

struct Column
{
    const wchar_t* title;
    int width;
};
const Column Columns[] = {{L"Nr.", 40},          {L"Typ", 50},  {L"Achse", 50},
                          {L"Nennma\u00df", 80}, {L"Plus", 60}, {L"Minus", 60}};
enum ColumnIndex
{
    Number,
    Type,
    Axis,
    Nominal,
    Plus,
    Minus
};

// Rows shown at most before the list scrolls: the sample part program fits.
constexpr int MostRowsShown = 30;

std::wstring numberText(double value)
{
    wchar_t text[32] = {};
    std::swprintf(text, 32, L"%.12g", value);
    return text;
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == LiveObjectsMessage)
        return liveObjects();
    if (message == CallCountMessage) {
        const auto* host = reinterpret_cast<const sim::SimHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        return host ? host->callCount() : 0;
    }
    if (message == WM_SIZE) {
        MoveWindow(GetWindow(window, GW_CHILD), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A Unicode window class and procedure, so that the title reads as it was set.
const wchar_t* registeredClass()
{
    static const std::wstring name = toWide(WindowClass);
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = windowProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = name.c_str();
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        return RegisterClassW(&windowClass) != 0;
    }();
    return registered ? name.c_str() : nullptr;
}

void setText(HWND list, int row, int column, const std::wstring& text)
{
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

} // namespace

std::wstring toWide(const std::string& utf8)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(size > 0 ? size - 1 : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, text.data(), size);
    return text;
}

PartProgramWindow::PartProgramWindow(sim::SimHost& host) : m_host(host)
{
    const wchar_t* windowClass = registeredClass();
    if (!windowClass)
        return;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    std::wstring title = L"KORVANT-Ersatz";
    if (!host.program().name.empty())
        title += L" \u2013 " + toWide(host.program().name);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    m_window =
        CreateWindowExW(0, windowClass, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (!m_window)
        return;
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&host));
    m_list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOSORTHEADER, 0,
                             0, 0, 0, m_window, nullptr, instance, nullptr);
    SendMessageW(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    int listWidth = GetSystemMetrics(SM_CXVSCROLL) + 4;
    for (int i = 0; i < static_cast<int>(std::size(Columns)); ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = i == Number ? LVCFMT_LEFT : LVCFMT_RIGHT; // the first column is always left-aligned
        column.cx = Columns[i].width;
        column.pszText = const_cast<wchar_t*>(Columns[i].title);
        SendMessageW(m_list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
        listWidth += Columns[i].width;
    }
    const auto& commands = host.program().commands;
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const std::wstring number = std::to_wstring(i + 1);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<wchar_t*>(number.c_str());
        SendMessageW(m_list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        showCommand(i);
    }

    // Wide enough for every column, high enough for the rows up to a limit
    // (and one more for the column titles, which the estimate leaves out).
    const int rows = std::min(static_cast<int>(commands.size()), MostRowsShown) + 1;
    const DWORD needed = static_cast<DWORD>(
        SendMessageW(m_list, LVM_APPROXIMATEVIEWRECT, static_cast<WPARAM>(rows), MAKELPARAM(listWidth, -1)));
    RECT frame{0, 0, listWidth, HIWORD(needed) + 4};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    SetWindowPos(m_window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    host.onCommandChanged = [this](std::size_t index) { showCommand(index); };
}

PartProgramWindow::~PartProgramWindow()
{
    m_host.onCommandChanged = nullptr;
    if (m_window && IsWindow(m_window))
        DestroyWindow(m_window);
}

void PartProgramWindow::showCommand(std::size_t index)
{
    const sim::Command& command = m_host.program().commands.at(index);
    const int row = static_cast<int>(index);
    setText(m_list, row, Type, std::to_wstring(command.typeCode));
    setText(m_list, row, Axis, toWide(command.axis));
    if (command.isDimension) {
        setText(m_list, row, Nominal, numberText(command.nominal));
        setText(m_list, row, Plus, numberText(command.plus));
        setText(m_list, row, Minus, numberText(command.minus));
    }
}

} // namespace simcom
