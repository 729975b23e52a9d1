#include "forms/Form.h"

#include <utility>

#include "forms/Application.h"

namespace forms {

Form::Form(std::string className, std::string caption)
    : className_(std::move(className)), caption_(std::move(caption)) {}

Form::~Form() {
  Application::Instance().RemoveForm(this);
  if (window_) {
    Unbind();
    Destroy();
  }
}

bool Form::RegisterClassOnce() {
  HINSTANCE instance = Application::Instance().ModuleInstance();
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExA(instance, className_.c_str(), &existing)) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &Form::WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = className_.c_str();
  return RegisterClassExA(&wc) != 0;
}

bool Form::Create(DWORD style, DWORD exStyle, int width, int height) {
  if (!RegisterClassOnce()) return false;
  Application::Instance().AddForm(this);
  window_ = CreateWindowExA(exStyle, className_.c_str(), caption_.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                            width, height, nullptr, nullptr, Application::Instance().ModuleInstance(),
                            static_cast<Window*>(this));
  if (!window_) return false;
  FormCreate();
  return true;
}

bool Form::Close() {
  if (closing_) return false;
  bool canClose = true;
  FormCloseQuery(canClose);
  if (!canClose) return false;
  closing_ = true;
  FormClose();
  if (window_) Show(SW_HIDE);
  closing_ = false;
  if (Application::Instance().MainForm() == this) Application::Instance().Terminate();
  return true;
}

void Form::CenterOnScreen() {
  RECT r = WindowRect();
  int width = r.right - r.left, height = r.bottom - r.top;
  Move(GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2, GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2, width, height);
}

bool Form::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CALLBACK Form::WindowProc(HWND window, UINT msg, WPARAM w, LPARAM l) {
  auto* form = static_cast<Form*>(BoundObject(window, msg, l));
  if (!form) return DefWindowProcA(window, msg, w, l);
  LRESULT result = 0;
  if (form->HandleMessage(msg, w, l, result)) return result;
  switch (msg) {
    case WM_CLOSE:
      form->Close();
      return 0;
    case WM_SHOWWINDOW:
      if (w) form->FormShow();
      break;
    case WM_NCDESTROY:
      form->window_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcA(window, msg, w, l);
}

}  // namespace forms
