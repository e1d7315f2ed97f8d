#include "platform/NativeWindow.h"

#include <stdexcept>

#include "platform/ErrorText.h"
#include "platform/win32/Wide.h"

namespace {

constexpr wchar_t kClassName[] = L"Harumado.frmMain";
constexpr int kIconId = 1;  // the program's icon in its resources

UINT SystemDpi() {
  const HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

UINT IconOf(eBoxIcon icon) {
  switch (icon) {
    case eBoxIcon::Information: return MB_ICONINFORMATION;
    case eBoxIcon::Question: return MB_ICONQUESTION;
    case eBoxIcon::Exclamation: return MB_ICONEXCLAMATION;
    case eBoxIcon::None: break;
  }
  return 0;
}

class cWin32Window : public cNativeWindow {
 public:
  cWin32Window(const cNativeWindowLayout& layout, std::function<bool()> mayClose);
  ~cWin32Window() override;
  cWin32Window(const cWin32Window&) = delete;
  cWin32Window& operator=(const cWin32Window&) = delete;

  void SetLabel(int label, const std::string& text) override {
    ::SetWindowTextW(m_Labels[label == 0 ? 0 : 1], Widen(text).c_str());
  }
  bool Box(const std::string& text, const std::string& caption, eBoxButtons buttons, eBoxIcon icon) override;
  void PumpMessages() override;
  void ShowAtTopLeft() override;
  void Hide() override { ::ShowWindow(m_Window, SW_HIDE); }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
  // Sizes of the original window are in twips; 15 twips make one pixel at 96 dpi.
  int Px(int twips) const { return ::MulDiv(twips, static_cast<int>(m_Dpi), 1440); }

  UINT m_Dpi = SystemDpi();
  std::function<bool()> m_MayClose;
  HWND m_Window = nullptr;
  HWND m_Labels[2] = {};
  HFONT m_Font = nullptr;
};

cWin32Window::cWin32Window(const cNativeWindowLayout& layout, std::function<bool()> mayClose)
    : m_MayClose(std::move(mayClose)) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Procedure;
  wc.hInstance = instance;
  wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(kIconId));
  wc.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON, 16, 16, 0));
  wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  ::RegisterClassExW(&wc);
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame{0, 0, Px(layout.width), Px(layout.height)};
  ::AdjustWindowRectEx(&frame, style, FALSE, 0);
  m_Window = ::CreateWindowExW(0, kClassName, Widen(layout.caption).c_str(), style, 0, 0, frame.right - frame.left,
                               frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  if (m_Window == nullptr) throw std::runtime_error("cannot make the window: " + ErrorText(static_cast<int>(::GetLastError())));
  ::SetWindowLongPtrW(m_Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  m_Font = ::CreateFontW(-::MulDiv(12, static_cast<int>(m_Dpi), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                         SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_DONTCARE, Widen(layout.font).c_str());
  for (int i = 0; i < 2; ++i) {
    const int* at = layout.labels[i];
    m_Labels[i] = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, Px(at[0]), Px(at[1]),
                                    Px(at[2]), Px(at[3]), m_Window, nullptr, instance, nullptr);
    ::SendMessageW(m_Labels[i], WM_SETFONT, reinterpret_cast<WPARAM>(m_Font), FALSE);
  }
}

cWin32Window::~cWin32Window() {
  ::SetWindowLongPtrW(m_Window, GWLP_USERDATA, 0);
  ::DestroyWindow(m_Window);
  ::DeleteObject(m_Font);
}

LRESULT CALLBACK cWin32Window::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* self = reinterpret_cast<cWin32Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_CLOSE && self != nullptr) {
    if (self->m_MayClose()) self->Hide();
    return 0;
  }
  return ::DefWindowProcW(window, message, w, l);
}

bool Box(HWND owner, const std::string& text, const std::string& caption, eBoxButtons buttons, eBoxIcon icon) {
  const bool yesNo = buttons == eBoxButtons::YesNo;
  const int pressed = ::MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(),
                                    (yesNo ? MB_YESNO : MB_OK) | IconOf(icon) | MB_SETFOREGROUND);
  // A box that could not be shown was answered by no one: never take it for No.
  if (pressed == 0) throw std::runtime_error("cannot show a message box: " + ErrorText(static_cast<int>(::GetLastError())));
  return !yesNo || pressed == IDYES;
}

bool cWin32Window::Box(const std::string& text, const std::string& caption, eBoxButtons buttons, eBoxIcon icon) {
  // Startup's boxes come before the window is shown; the run's own boxes sit over it.
  return ::Box(::IsWindowVisible(m_Window) ? m_Window : nullptr, text, caption, buttons, icon);
}

void cWin32Window::PumpMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

void cWin32Window::ShowAtTopLeft() {
  ::SetWindowPos(m_Window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ::ShowWindow(m_Window, SW_SHOWNORMAL);
  ::UpdateWindow(m_Window);
  PumpMessages();
}

}  // namespace

bool ShowNativeBox(const std::string& text, const std::string& caption, eBoxButtons buttons, eBoxIcon icon) {
  return Box(nullptr, text, caption, buttons, icon);
}

std::unique_ptr<cNativeWindow> MakeNativeWindow(const cNativeWindowLayout& layout, std::function<bool()> mayClose) {
  return std::make_unique<cWin32Window>(layout, std::move(mayClose));
}
