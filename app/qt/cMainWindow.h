#pragma once
#include <QWidget>

#include "app/frmMain.h"
#include "sensyu/WindowServices.h"

class QLabel;

// The main window: a thin strip with lblMessage and lblCounter that is shown
// only while a conversion runs, and the message boxes of the run.
class cMainWindow : public QWidget, public cWindowServices, public cFormWindow {
 public:
  cMainWindow();

  /// Connects the window's close requests to the startup logic.
  void Attach(frmMain* form) { m_Form = form; }

  MsgResult MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& caption) override;
  void SetLabel(ProgressLabel label, const std::string& text) override;
  void DoEvents() override;
  void ShowAtTopLeft() override;

  QLabel* lblMessage() const { return m_LblMessage; }
  QLabel* lblCounter() const { return m_LblCounter; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QLabel* m_LblMessage;
  QLabel* m_LblCounter;
  frmMain* m_Form = nullptr;
};

/// The program icon at 16×16 and 32×32.
QIcon ProgramIcon();
/// The labels' font: "ＭＳ Ｐゴシック" 12 pt, else an installed Japanese font.
QFont LabelFont();
