#include "app/WindowFrontEnd.h"
#include "app/frmMain.h"
#include "platform/KnownFolders.h"
#include "platform/NativeWindow.h"
#include "platform/OpenDocument.h"

namespace {

// Pages and the download page go to the user's default applications.
class cDesktopShell : public cLocalShellServices {
 public:
  int32_t ShellOpen(const std::string& file, const std::string&, const std::string&) override {
    return OpenDocument(file) ? 1 : 0;
  }
};

eBoxIcon BoxIcon(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Information: return eBoxIcon::Information;
    case MsgIcon::Question: return eBoxIcon::Question;
    case MsgIcon::Exclamation: return eBoxIcon::Exclamation;
    case MsgIcon::None: break;
  }
  return eBoxIcon::None;
}

// frmMain's window on the system's own: the strip of the original program,
// with lblMessage and lblCounter in "ＭＳ Ｐゴシック" 12 pt.
class cMainWindow : public cWindowServices, public cFormWindow {
 public:
  cMainWindow()
      : m_Native(MakeNativeWindow({"競艇ファン手帳ファイル コンバートソフト Harumado", 5745, 570,
                                   {{180, 120, 3615, 315}, {4080, 120, 1515, 315}}, "ＭＳ Ｐゴシック"},
                                  [this] { return m_Form == nullptr || m_Form->Form_QueryUnload(); })) {}

  void Attach(frmMain* form) { m_Form = form; }
  void Unload() {
    if (m_Form != nullptr) m_Form->Form_QueryUnload();
    m_Native->Hide();
  }

  MsgResult MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& caption) override {
    const bool yesNo = buttons == MsgButtons::YesNo;
    const bool yes = m_Native->Box(text, caption, yesNo ? eBoxButtons::YesNo : eBoxButtons::OK, BoxIcon(icon));
    if (!yesNo) return MsgResult::OK;
    return yes ? MsgResult::Yes : MsgResult::No;
  }
  void SetLabel(ProgressLabel label, const std::string& text) override {
    m_Native->SetLabel(label == ProgressLabel::Message ? 0 : 1, text);
  }
  void DoEvents() override { m_Native->PumpMessages(); }
  void ShowAtTopLeft() override { m_Native->ShowAtTopLeft(); }

 private:
  frmMain* m_Form = nullptr;
  std::unique_ptr<cNativeWindow> m_Native;
};

}  // namespace

int RunWindowFrontEnd(const cCommandLine& cmd) {
  cDesktopShell shell;
  cMainWindow window;
  cHttpDownloader downloader(HttpGet, DownloadFolder(), DownloadBase());
  frmMain main(window, window, shell, DiskSites(), &downloader);
  window.Attach(&main);
  const eStartOutcome outcome = main.Form_Load(cmd);
  window.Unload();  // releases the racer data
  window.Attach(nullptr);
  return ExitStatus(outcome);
}

void ShowStartupText(const std::string& text, bool failure) {
  ShowNativeBox(text, kAppTitle, eBoxButtons::OK, failure ? eBoxIcon::Exclamation : eBoxIcon::Information);
}

std::unique_ptr<cFanDownloader> MakeDownloader() {
  return std::make_unique<cHttpDownloader>(HttpGet, DownloadFolder(), DownloadBase());
}
