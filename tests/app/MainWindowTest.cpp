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
#include "app/qt/QtHttpGet.h"
#include "app/qt/cQtShell.h"
#include "support/LocalServer.h"
#include "support/TempDir.h"
#include "support/TestData.h"

namespace {

// Presses `button` on the next box that opens and keeps what it showed, and the button's label.
void PressOnNextBox(QMessageBox::StandardButton button, QString& shown, QString* label = nullptr) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, button, &shown, label] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    shown = box->windowTitle() + "|" + box->text() + "|" + QString::number(box->icon());
    if (label != nullptr) *label = box->button(button)->text();
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
    QString yes, no, ok, shown;
    for (auto [buttons, press, label] : {std::tuple{MsgButtons::YesNo, QMessageBox::Yes, &yes},
                                         {MsgButtons::YesNo, QMessageBox::No, &no}, {MsgButtons::OK, QMessageBox::Ok, &ok}}) {
      PressOnNextBox(press, shown, label);
      window.MsgBox("?", buttons, MsgIcon::Question, "Harumado");
    }
    EXPECT_EQ(yes.toStdString() + "|" + no.toStdString() + "|" + ok.toStdString(),
              std::string(row.yes) + "|" + row.no + "|" + row.ok) << row.locale;
    if (translator != nullptr) QCoreApplication::removeTranslator(translator);
    delete translator;
  }
}

// Started without a file, Yes to the usage box downloads the newest period and
// converts it. Closing the window stops a download at once, keeps nothing and
// ends the program, the window hidden; while pages are written the close is
// refused. A download that went on would drip for twenty minutes (ctest's TIMEOUT).
TEST(MainWindow, DownloadsOnYesAndStopsWhenClosed) {
  namespace fs = std::filesystem;
  cTempDir served, home;
  const std::string newest = "fan" + NewestPeriodsToday()[0] + ".lzh";
  served.WriteFile(newest, ReadBytes(DataPath("archive/lh5-level1.lzh")));
  const std::string fan = PathToUtf8(home.WriteFile("fan.txt", ReadBytes(DataPath("six_racers.txt"))));
  const cLocalServer server(served.Path());
  const struct {
    const char* what;
    std::vector<std::string> args;
    QMessageBox::StandardButton answer;
    bool close;
    eStartOutcome outcome;
    qsizetype boxes;
    bool converted;
  } rows[] = {
      {"usage, Yes", {}, QMessageBox::Yes, false, eStartOutcome::Converted, 2, true},
      {"usage, No", {}, QMessageBox::No, false, eStartOutcome::ShowedUsage, 1, false},
      {"closed while downloading", {"--yes", "--download"}, QMessageBox::Yes, true, eStartOutcome::Closed, 0, false},
      {"closed while converting", {"--yes", fan}, QMessageBox::Yes, true, eStartOutcome::Converted, 0, true},
  };
  for (const auto& row : rows) {
    const fs::path out = home.Path() / row.what / "site", downloads = home.Path() / row.what / "Downloads";
    cMainWindow window;
    cQtShell shell;
    cHttpDownloader downloader(QtHttpGet, downloads, server.Base() + (row.close ? "/drip/1" : ""));
    frmMain main(window, window, shell, DiskSites(), &downloader);
    window.Attach(&main);
    int closes = 0, refused = 0;
    QStringList shown;
    QTimer user;  // answers every box; where the row says so, closes the window at every repaint
    QObject::connect(&user, &QTimer::timeout, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        shown << box->text();
        return box->button(row.answer)->click();
      }
      if (!row.close || !window.isVisible()) return;
      ++closes;
      window.close();
      refused += window.isVisible();
    });
    user.start(0);
    std::vector<std::string> args = {"--no-open", "--output", PathToUtf8(out)};
    args.insert(args.end(), row.args.begin(), row.args.end());
    EXPECT_EQ(main.Form_Load(ParseCommandLine(args)), row.outcome) << row.what;
    EXPECT_EQ(closes >= 1, row.close) << row.what;
    EXPECT_EQ(refused, row.converted ? closes : 0) << row.what;
    EXPECT_EQ(window.isVisible(), row.converted) << row.what;
    EXPECT_EQ(fs::exists(downloads / newest), row.boxes == 2) << row.what;  // nothing kept by a stopped download
    EXPECT_EQ(fs::exists(out / "ファン手帳.html"), row.converted) << row.what;
    ASSERT_EQ(shown.size(), row.boxes) << row.what;
    EXPECT_TRUE(row.boxes < 1 || shown[0].endsWith("BOAT RACEオフィシャルウェブサイトからダウンロードしますか？"));
    EXPECT_TRUE(row.boxes < 2 || shown[1] == "モーターボートファン手帳ファイルを変換しますか。\n\n" +
                                                QString::fromStdString(PathToUtf8(downloads / newest)));
    window.Attach(nullptr);
  }
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");  // no display needed, also when ctest lists the tests
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
