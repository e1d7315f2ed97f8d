#include "app/qt/cMainWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>

namespace {

// Sizes of the original window in twips; 15 twips make one pixel at 96 dpi.
constexpr int Px(int twips) { return twips / 15; }

QString ToQt(const std::string& text) { return QString::fromStdString(text); }

// Message texts end their lines with CR LF; a Qt label breaks at LF.
QString BoxText(const std::string& text) {
  QString result = ToQt(text);
  result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return result;
}

QMessageBox::Icon ToQtIcon(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

QLabel* MakeLabel(QWidget* parent, int left, int top, int width, int height) {
  auto* label = new QLabel(parent);
  label->setGeometry(Px(left), Px(top), Px(width), Px(height));
  label->setFont(LabelFont());
  return label;
}

}  // namespace

// The icons are compiled into this static library; a static library's
// resources must be registered by hand.
static void InitIconResources() {
  static bool registered = false;
  if (registered) return;
  Q_INIT_RESOURCE(icons);
  registered = true;
}

QIcon ProgramIcon() {
  InitIconResources();
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/tobirex-16.png"), QSize(16, 16));
  icon.addFile(QStringLiteral(":/icons/tobirex-32.png"), QSize(32, 32));
  return icon;
}

QFont LabelFont() {
  QFont font;
  font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"), QStringLiteral("Noto Sans CJK JP"),
                    QStringLiteral("Noto Sans JP"), QStringLiteral("IPAPGothic"), QStringLiteral("VL PGothic")});
  font.setPointSize(12);
  font.setWeight(QFont::Normal);
  return font;
}

cMainWindow::cMainWindow()
    : m_LblMessage(MakeLabel(this, 180, 120, 3615, 315)), m_LblCounter(MakeLabel(this, 4080, 120, 1515, 315)) {
  setWindowTitle(QStringLiteral("競艇ファン手帳ファイル コンバートソフト Harumado"));
  setWindowIcon(ProgramIcon());
  setFixedSize(Px(5745), Px(570));
}

MsgResult cMainWindow::MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon,
                              const std::string& caption) {
  const bool yesNo = buttons == MsgButtons::YesNo;
  // Startup's boxes come before the window is shown; the run's own boxes sit over it.
  QMessageBox box(ToQtIcon(icon), ToQt(caption), BoxText(text),
                  yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, isVisible() ? this : nullptr);
  box.setTextFormat(Qt::PlainText);
  if (yesNo) box.setDefaultButton(QMessageBox::Yes);
  const int pressed = box.exec();
  if (!yesNo) return MsgResult::OK;
  return pressed == QMessageBox::Yes ? MsgResult::Yes : MsgResult::No;
}

void cMainWindow::SetLabel(ProgressLabel label, const std::string& text) {
  (label == ProgressLabel::Message ? m_LblMessage : m_LblCounter)->setText(ToQt(text));
}

void cMainWindow::DoEvents() { QCoreApplication::processEvents(); }

void cMainWindow::ShowAtTopLeft() {
  move(0, 0);
  show();
}

void cMainWindow::closeEvent(QCloseEvent* event) {
  if (m_Form != nullptr && !m_Form->Form_QueryUnload())
    event->ignore();
  else
    event->accept();
}
