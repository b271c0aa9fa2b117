// The chart's context menu in the window: copying, saving in each format,
// exporting the design sheet, and a failed write that warns and changes
// nothing. The file dialogs are answered through the window's hooks.
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QSignalSpy>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "qt_print.h"

#include "chart_actions.h"
#include "chart_widget.h"
#include "main_window.h"
#include "scripted_window.h"
#include "render/chart_export.h"

namespace {

using namespace diaspring;
using diaspring::app::ChartWidget;
using diaspring::app::MainWindow;

QString q(const char* s) { return QString::fromUtf8(s); }

// The drawing operations, compared field by field.
bool sameOps(const DisplayList& a, const DisplayList& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const DrawOp &x = a.ops()[i], &y = b.ops()[i];
    if (x.kind != y.kind || x.hasColor != y.hasColor || x.color != y.color || x.x1 != y.x1 || x.y1 != y.y1 ||
        x.x2 != y.x2 || x.y2 != y.y2 ||
        (x.kind == DrawOp::Kind::Print && a.text(x) != b.text(y)))
      return false;
  }
  return true;
}

QByteArray head(const QString& path, int n) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.read(n) : QByteArray();
}

class ChartMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.press(Command::Command1);
    ASSERT_TRUE(window.faults.empty());
  }
  QString path(const QString& name) const { return dir.filePath(name); }
  ChartWidget* chart() const { return window.chart(); }

  QTemporaryDir dir;
  ScriptedWindow window;
};

// The file dialogs' list says "文件夹" and writes dates in Chinese, not
// "Folder" and "Dec", whatever the system's language.
TEST(FileDialog, ListsTypesAndDatesInChinese) {
  QTemporaryDir dir;
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
  QFile file(dir.filePath(QStringLiteral("a.png")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("12345");
  file.close();
  QFileSystemModel files;
  QSignalSpy loaded(&files, &QFileSystemModel::directoryLoaded);
  const QModelIndex root = files.setRootPath(dir.path());
  ASSERT_TRUE(loaded.wait(10000));
  diaspring::app::ChineseFileColumns columns;
  columns.setSourceModel(&files);
  const auto cell = [&](const char* name, int column) {
    const QModelIndex at = files.index(dir.filePath(QString::fromUtf8(name)), column);
    return columns.mapFromSource(at).data().toString();
  };
  EXPECT_EQ(cell("sub", 2), QStringLiteral("文件夹"));
  EXPECT_EQ(cell("a.png", 2), QStringLiteral("png 文件"));
  EXPECT_TRUE(cell("a.png", 1).startsWith(QStringLiteral("5 "))) << cell("a.png", 1).toStdString();
  const QString date = cell("a.png", 3);
  EXPECT_EQ(date, QFileInfo(file).lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm")));
  EXPECT_EQ(columns.mapFromSource(files.index(0, 0, root)).data().toString(), files.index(0, 0, root).data().toString())
      << "the names as they are";
}

TEST_F(ChartMenu, RightClickOnTheChartOpensCopySaveAndExport) {
  QMenu* menu = window.chartMenu();
  ASSERT_NE(menu, nullptr);
  QStringList captions;
  for (QAction* action : menu->actions())
    if (!action->isSeparator()) captions << action->text();
  EXPECT_EQ(captions, (QStringList{q("复制图表"), q("保存图表…"), q("导出设计报告…"), q("强度与分离特性…"),
                                   q("自动设计…")}));

  EXPECT_FALSE(menu->isVisible());
  QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(40, 30), chart()->mapToGlobal(QPoint(40, 30)));
  QApplication::sendEvent(chart(), &click);
  EXPECT_TRUE(menu->isVisible());
  menu->hide();
}

TEST_F(ChartMenu, SaveWritesTheFormatOfTheExtensionElseOfTheChosenFilter) {
  struct Case {
    const char* answer;
    QString filter;
    const char* written;
    ChartFormat format;
  };
  const Case cases[] = {
      {"a.png", app::kPngFilter, "a.png", ChartFormat::Png},
      {"b", app::kSvgFilter, "b.svg", ChartFormat::Svg},
      {"c", app::kPngFilter, "c.png", ChartFormat::Png},
      {"d.PDF", app::kPngFilter, "d.PDF", ChartFormat::Pdf},  // the name wins over the filter
      {"e.svg", app::kPdfFilter, "e.svg", ChartFormat::Svg},
      {"f", app::kPdfFilter, "f.pdf", ChartFormat::Pdf},
  };
  const QImage twice = renderChartImage(chart()->displayList(), 2);
  for (const Case& c : cases) {
    window.answer = path(q(c.answer));
    window.answerFilter = c.filter;
    window.saveChart();
    const QString written = path(q(c.written));
    ASSERT_TRUE(QFileInfo(written).isFile()) << c.written;
    switch (c.format) {
      case ChartFormat::Png: {
        // Twice the size on screen, and the chart as the painter draws it.
        const QImage image(written, "PNG");
        EXPECT_EQ(image.size(), QSize(1098, 586)) << c.written;
        EXPECT_EQ(image.convertToFormat(QImage::Format_ARGB32), twice) << c.written;
        break;
      }
      case ChartFormat::Svg:
        EXPECT_TRUE(head(written, 200).contains("<svg")) << c.written;
        break;
      case ChartFormat::Pdf:
        EXPECT_TRUE(head(written, 5) == "%PDF-") << c.written;
        break;
    }
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), std::size(cases));
  EXPECT_TRUE(window.warnings.empty());
  EXPECT_TRUE(window.replaceAsked.empty());

  ASSERT_EQ(window.asked.size(), std::size(cases));
  EXPECT_EQ(window.asked[0].caption, q("保存图表"));
  EXPECT_EQ(window.asked[0].filters, q("PNG 图像 (*.png);;SVG 矢量图 (*.svg);;PDF 文档 (*.pdf)"));
  EXPECT_EQ(window.asked[0].offered, app::kPngFilter);
  EXPECT_TRUE(window.asked[0].suggested.endsWith(q("/膜片弹簧特性曲线.png")));
  // The next dialog starts where the last file went.
  EXPECT_EQ(window.asked[1].suggested, path(q("膜片弹簧特性曲线.png")));
}

TEST_F(ChartMenu, CancelledDialogWritesNothing) {
  window.answer.clear();
  window.saveChart();
  window.exportDesignSheet();
  EXPECT_EQ(window.asked.size(), 2u);
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
  EXPECT_TRUE(window.warnings.empty());
}

TEST_F(ChartMenu, AnAddedExtensionDoesNotReplaceAFileUnasked) {
  QFile old(path(q("c.png")));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("keep me");
  old.close();

  window.answer = path(q("c"));
  window.answerFilter = app::kPngFilter;
  window.replace = false;
  window.saveChart();
  EXPECT_EQ(window.replaceAsked, std::vector<QString>{path(q("c.png"))});
  EXPECT_EQ(head(path(q("c.png")), 100), QByteArray("keep me"));

  window.replace = true;
  window.saveChart();
  EXPECT_EQ(QImage(path(q("c.png"))).size(), QSize(1098, 586));
  EXPECT_TRUE(window.warnings.empty());
}

TEST_F(ChartMenu, FailedSaveWarnsAndLeavesTheChartAsItWas) {
  // A regular file where the directory should be: unwritable even for root.
  QFile plain(path(q("plain")));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();

  QApplication::processEvents();
  DisplayList before = chart()->displayList();
  const QImage shown = chart()->grab().toImage();
  const int rebuilds = chart()->rasterRebuilds();
  const QString peak = window.findChild<QLineEdit*>(q("Text12"))->text();

  for (const char* name : {"plain/chart.png", "plain/chart.svg", "missing/chart.pdf"}) {
    window.warnings.clear();
    window.answer = path(q(name));
    window.saveChart();
    ASSERT_EQ(window.warnings.size(), 1u) << name;
    EXPECT_EQ(window.warnings[0].first, q("无法保存图表"));
    const QString& text = window.warnings[0].second;
    EXPECT_TRUE(text.startsWith(q("无法写入文件“%1”：").arg(path(q(name))))) << text.toStdString();
    EXPECT_TRUE(text.contains(q("不是文件夹")) || text.contains(q("不存在"))) << text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path(q(name)))) << name;
  }

  QApplication::processEvents();
  EXPECT_TRUE(sameOps(chart()->displayList(), before));
  EXPECT_EQ(chart()->grab().toImage(), shown);
  EXPECT_EQ(chart()->rasterRebuilds(), rebuilds);
  EXPECT_EQ(window.findChild<QLineEdit*>(q("Text12"))->text(), peak);
  EXPECT_TRUE(window.faults.empty());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{q("plain")});
}

TEST_F(ChartMenu, FailedWriteIsAWarningBox) {
  window.realWarnings = true;
  window.answer = path(q("missing/chart.png"));
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QTimer::singleShot(0, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      title = box->windowTitle();
      text = box->text();
      icon = box->icon();
      box->accept();
    }
  });
  window.saveChart();
  EXPECT_EQ(icon, QMessageBox::Warning);
  EXPECT_EQ(title, q("无法保存图表"));
  EXPECT_TRUE(text.contains(path(q("missing")))) << text.toStdString();
}

TEST_F(ChartMenu, CopyPutsTheChartOnTheClipboardAtTwiceItsSize) {
  QGuiApplication::clipboard()->clear();
  window.copyChart();
  const QImage image = QGuiApplication::clipboard()->image();
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(1098, 586));
  EXPECT_EQ(image.convertToFormat(QImage::Format_ARGB32), renderChartImage(chart()->displayList(), 2));
  EXPECT_TRUE(window.warnings.empty());
}

TEST_F(ChartMenu, ExportWritesTheDesignSheetAsAPdf) {
  window.press(Command::Command3);
  window.answer = path(q("report"));  // ".pdf" is added
  window.exportDesignSheet();
  ASSERT_EQ(window.asked.size(), 1u);
  EXPECT_EQ(window.asked[0].caption, q("导出设计报告"));
  EXPECT_EQ(window.asked[0].filters, app::kPdfFilter);
  EXPECT_TRUE(window.asked[0].suggested.endsWith(q("/膜片弹簧设计报告.pdf")));
  EXPECT_TRUE(window.warnings.empty());
  EXPECT_EQ(head(path(q("report.pdf")), 5), QByteArray("%PDF-"));

  window.answer = path(q("missing/report.pdf"));
  window.exportDesignSheet();
  ASSERT_EQ(window.warnings.size(), 1u);
  EXPECT_EQ(window.warnings[0].first, q("无法导出设计报告"));
  EXPECT_TRUE(window.warnings[0].second.contains(path(q("missing/report.pdf")))) << window.warnings[0].second.toStdString();
  EXPECT_FALSE(QFileInfo::exists(path(q("missing"))));
}

TEST(ChartFileNames, GetTheExtensionOfTheFilterWhenTheirOwnNamesNoFormat) {
  struct Case {
    const char* chosen;
    QString filter;
    const char* chart;
    const char* sheet;
  };
  const Case cases[] = {
      {"/d/a.png", app::kSvgFilter, "/d/a.png", "/d/a.png.pdf"},
      {"/d/a", app::kSvgFilter, "/d/a.svg", "/d/a.pdf"},
      {"/d/a.PDF", app::kPngFilter, "/d/a.PDF", "/d/a.PDF"},
      {"/d/a.bmp", app::kPdfFilter, "/d/a.bmp.pdf", "/d/a.bmp.pdf"},
      {"/d/v1.2", app::kPngFilter, "/d/v1.2.png", "/d/v1.2.pdf"},
      {"/d/a", QString(), "/d/a.png", "/d/a.pdf"},  // no filter chosen: PNG
      {"/d/a", q("所有文件 (*)"), "/d/a.png", "/d/a.pdf"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(app::withChartExtension(q(c.chosen), c.filter), q(c.chart)) << c.chosen;
    EXPECT_EQ(app::withPdfExtension(q(c.chosen)), q(c.sheet)) << c.chosen;
  }
}

}  // namespace
