// The Qt window offscreen: its boxes answer as the button pressed, its labels
// show their texts, and it opens at the screen's top-left corner.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include "app/qt/QtFrontEnd.h"
#include "app/qt/cMainWindow.h"

namespace {

// Presses `button` on the next box that opens and keeps what it showed.
void PressOnNextBox(QMessageBox::StandardButton button, QString& shown) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, button, &shown] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    shown = box->windowTitle() + "|" + box->text() + "|" + QString::number(box->icon());
    box->button(button)->click();
    timer->deleteLater();
  });
  timer->start(10);
}

TEST(MainWindow, BoxesLabelsAndPlace) {
  cMainWindow window;
  QString shown;
  PressOnNextBox(QMessageBox::No, shown);
  EXPECT_EQ(window.MsgBox("変換しますか。\r\n\r\nfan.txt", MsgButtons::YesNo, MsgIcon::Question, "Harumado"),
            MsgResult::No);
  EXPECT_EQ(shown.toStdString(), "Harumado|変換しますか。\n\nfan.txt|" + std::to_string(QMessageBox::Question));
  PressOnNextBox(QMessageBox::Yes, shown);
  EXPECT_EQ(window.MsgBox("?", MsgButtons::YesNo, MsgIcon::Information, "Harumado"), MsgResult::Yes);
  PressOnNextBox(QMessageBox::Ok, shown);
  EXPECT_EQ(window.MsgBox("失敗", MsgButtons::OK, MsgIcon::Exclamation, "選手ファイル読み取りエラー"), MsgResult::OK);
  EXPECT_EQ(shown.toStdString(), "選手ファイル読み取りエラー|失敗|" + std::to_string(QMessageBox::Warning));
  window.SetLabel(ProgressLabel::Message, "ファイルを変換しています ...");
  window.SetProgress(15, 1600);
  EXPECT_EQ(window.lblMessage()->text().toStdString(), "ファイルを変換しています ...");
  EXPECT_EQ(window.lblCounter()->text().toStdString(), "15/1600");
  EXPECT_EQ(window.windowIcon().availableSizes().size(), 2);  // 16×16 and 32×32 from the resources
  window.ShowAtTopLeft();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.pos(), QPoint(0, 0));
}

// Standard buttons speak the desktop's language when Qt's catalogue for it is installed.
TEST(MainWindow, ButtonsInTheUsersLanguage) {
  const struct {
    const char* locale;
    bool catalogue;
    const char *yes, *no, *ok;
  } rows[] = {{"ja_JP", true, "はい(&Y)", "いいえ(&N)", "OK"}, {"C", false, "&Yes", "&No", "OK"}};
  for (const auto& row : rows) {
    QTranslator* translator = InstallQtTranslation(QLocale(QString::fromLatin1(row.locale)));
    EXPECT_EQ(translator != nullptr, row.catalogue) << row.locale;
    cMainWindow window;
    QString yes, no, ok;
    for (auto [buttons, result] : {std::pair{MsgButtons::YesNo, MsgResult::No}, {MsgButtons::OK, MsgResult::OK}}) {
      auto* timer = new QTimer;
      QObject::connect(timer, &QTimer::timeout, [&, timer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        timer->deleteLater();
        if (buttons == MsgButtons::OK) {
          ok = box->button(QMessageBox::Ok)->text();
          return box->button(QMessageBox::Ok)->click();
        }
        yes = box->button(QMessageBox::Yes)->text();
        no = box->button(QMessageBox::No)->text();
        box->button(QMessageBox::No)->click();
      });
      timer->start(10);
      EXPECT_EQ(window.MsgBox("?", buttons, MsgIcon::Question, "Harumado"), result);
    }
    EXPECT_EQ(yes.toStdString() + "|" + no.toStdString() + "|" + ok.toStdString(),
              std::string(row.yes) + "|" + row.no + "|" + row.ok) << row.locale;
    if (translator != nullptr) QCoreApplication::removeTranslator(translator);
    delete translator;
  }
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");  // no display needed, also when ctest lists the tests
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
