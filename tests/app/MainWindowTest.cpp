// The Qt window for real, on the offscreen platform: its looks, its message
// boxes answered by a timer as a user would click, and a whole conversion.
#include "app/qt/cMainWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>

#include "FakeShell.h"
#include "app/ReportConversion.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

// What a box looked like when it was answered.
struct cSeenBox {
  QString caption, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
};

// Answers message boxes as a user would click: the scripted buttons first;
// any box beyond the script is closed too (so a test fails instead of
// hanging) and shows up in `seen`.
class cBoxAnswerer {
 public:
  explicit cBoxAnswerer(std::vector<QMessageBox::StandardButton> script) : m_Script(std::move(script)) {
    QObject::connect(&m_Timer, &QTimer::timeout, [this] { AnswerOpenBox(); });
    m_Timer.start(10);
  }
  std::vector<cSeenBox> seen;

 private:
  void AnswerOpenBox() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    seen.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons()});
    const std::size_t n = seen.size() - 1;
    if (n < m_Script.size())
      box->button(m_Script[n])->click();
    else
      box->done(0);
  }
  std::vector<QMessageBox::StandardButton> m_Script;
  QTimer m_Timer;
};

// Calls `check` once from inside the conversion run, when `when` first holds.
void CheckDuringRun(std::function<bool()> when, std::function<void()> check) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, when, check] {
    if (!when()) return;
    timer->stop();
    timer->deleteLater();
    check();
  });
  timer->start(0);
}

class cNoConversion : public cConversion {
 public:
  bool ConvertFanFile(const std::string&, const fs::path&, cWindowServices&, cNameList&,
                      std::shared_ptr<cSensyuFile>&) override {
    return false;
  }
};

TEST(MainWindow, CaptionClientAreaAndLabels) {
  cMainWindow window;
  EXPECT_EQ(window.windowTitle(), QStringLiteral("競艇ファン手帳ファイル コンバートソフト Harumado"));
  EXPECT_EQ(window.size(), QSize(383, 38));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  EXPECT_EQ(window.lblMessage()->geometry(), QRect(12, 8, 241, 21));
  EXPECT_EQ(window.lblCounter()->geometry(), QRect(272, 8, 101, 21));
  EXPECT_TRUE(window.lblMessage()->text().isEmpty());
  EXPECT_TRUE(window.lblCounter()->text().isEmpty());
  EXPECT_FALSE(window.isVisible());
}

TEST(MainWindow, LabelFontFallsBackToAnInstalledJapaneseFont) {
  cMainWindow window;
  for (QLabel* label : {window.lblMessage(), window.lblCounter()}) {
    const QFont font = label->font();
    EXPECT_EQ(font.families().value(0), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(font.pointSize(), 12);
    EXPECT_EQ(font.weight(), QFont::Normal);
    EXPECT_FALSE(QFontInfo(font).family().isEmpty());
    EXPECT_TRUE(QFontMetrics(font).inFontUcs4(U'変')) << QFontInfo(font).family().toStdString();
    EXPECT_TRUE(QFontMetrics(font).inFontUcs4(U'ｱ'));
  }
}

TEST(MainWindow, IconComesInBothSizes) {
  const QIcon icon = ProgramIcon();
  const QList<QSize> sizes = icon.availableSizes();
  EXPECT_TRUE(sizes.contains(QSize(16, 16)));
  EXPECT_TRUE(sizes.contains(QSize(32, 32)));
  EXPECT_FALSE(cMainWindow().windowIcon().isNull());
}

TEST(MainWindow, MessageBoxesShowCaptionTextButtonsAndIcon) {
  struct Row {
    MsgButtons buttons;
    MsgIcon icon;
    QMessageBox::StandardButton click;
    QMessageBox::Icon qtIcon;
    MsgResult expected;
  };
  const Row rows[] = {
      {MsgButtons::OK, MsgIcon::None, QMessageBox::Ok, QMessageBox::NoIcon, MsgResult::OK},
      {MsgButtons::YesNo, MsgIcon::Information, QMessageBox::Yes, QMessageBox::Information, MsgResult::Yes},
      {MsgButtons::YesNo, MsgIcon::Question, QMessageBox::No, QMessageBox::Question, MsgResult::No},
      {MsgButtons::OK, MsgIcon::Exclamation, QMessageBox::Ok, QMessageBox::Warning, MsgResult::OK},
  };
  cMainWindow window;
  for (const Row& r : rows) {
    SCOPED_TRACE(static_cast<int>(r.icon));
    cBoxAnswerer answerer({r.click});
    EXPECT_EQ(window.MsgBox("一行目\r\n\r\n/tmp/fan 2510.txt", r.buttons, r.icon, "Harumado"), r.expected);
    ASSERT_EQ(answerer.seen.size(), 1u);
    const cSeenBox& seen = answerer.seen[0];
    EXPECT_EQ(seen.caption, QStringLiteral("Harumado"));
    EXPECT_EQ(seen.text, QStringLiteral("一行目\n\n/tmp/fan 2510.txt"));
    EXPECT_EQ(seen.icon, r.qtIcon);
    EXPECT_EQ(seen.buttons, r.buttons == MsgButtons::OK ? QMessageBox::Ok : QMessageBox::Yes | QMessageBox::No);
  }
}

TEST(MainWindow, ConfirmedRunWritesTheSiteWhileTheWindowShowsProgress) {
  ASSERT_TRUE(fs::exists(SAMPLE_FILE)) << "the bundled sample is missing";
  cTempDir temp;
  cFakeShell shell((temp.Path() / "Desktop").string());  // a fresh account: no desktop folder yet
  cReportConversion conversion;
  cMainWindow window;
  frmMain main(window, window, shell, conversion);
  window.Attach(&main);

  cBoxAnswerer answerer({QMessageBox::Yes});
  bool closedDuringRun = true;
  QPoint shownAt(-1, -1);
  QString counterDuringRun;
  CheckDuringRun([&] { return window.lblCounter()->text().contains('/'); },
                 [&] {
                   shownAt = window.pos();
                   counterDuringRun = window.lblCounter()->text();
                   closedDuringRun = window.close();
                 });
  const eStartOutcome outcome = main.Form_Load(ParseCommandLine({SAMPLE_FILE}));

  ASSERT_EQ(answerer.seen.size(), 1u);  // the confirm box, and no failure after it
  EXPECT_EQ(answerer.seen[0].text,
            QString::fromStdString("モーターボートファン手帳ファイルを変換しますか。\n\n" + std::string(SAMPLE_FILE)));
  EXPECT_EQ(answerer.seen[0].icon, QMessageBox::Question);
  ASSERT_EQ(outcome, eStartOutcome::Converted);
  EXPECT_FALSE(counterDuringRun.isEmpty());
  EXPECT_FALSE(closedDuringRun);
  EXPECT_EQ(shownAt, QPoint(0, 0));
  EXPECT_TRUE(window.isVisible());

  const fs::path site = temp.Path() / "Desktop" / "ファン手帳";
  EXPECT_TRUE(fs::exists(site / "ファン手帳.html"));
  EXPECT_TRUE(fs::exists(site / "索引.html"));
  int pages = 0;
  for (const auto& entry : fs::recursive_directory_iterator(site))
    if (entry.path().parent_path() != site && entry.path().extension() == ".html") ++pages;
  const QString n = QString::number(pages);
  EXPECT_GT(pages, 0);
  EXPECT_EQ(window.lblMessage()->text(), QStringLiteral("索引ページを作成しています ..."));
  EXPECT_EQ(window.lblCounter()->text(), n + "/" + n);
  ASSERT_EQ(shell.opened.size(), 1u);
  EXPECT_EQ(shell.opened[0].file, (site / "ファン手帳.html").string());

  EXPECT_TRUE(window.close());
  EXPECT_EQ(main.SensyuFile(), nullptr);
}

TEST(MainWindow, DeclinedStartNeverShowsTheWindow) {
  cTempDir temp;
  const fs::path fan = temp.WriteFile("fan2510.txt", "4321\r\n");
  cFakeShell shell((temp.Path() / "Desktop").string());
  cNoConversion conversion;
  cMainWindow window;
  frmMain main(window, window, shell, conversion);
  window.Attach(&main);
  cBoxAnswerer answerer({QMessageBox::No});
  EXPECT_EQ(main.Form_Load(ParseCommandLine({fan.string()})), eStartOutcome::Declined);
  ASSERT_EQ(answerer.seen.size(), 1u);
  EXPECT_EQ(answerer.seen[0].buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_FALSE(window.isVisible());
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
