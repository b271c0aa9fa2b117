// Starts the calculator's window.
//
//   diaspring [DESIGN]             the window, with the design file DESIGN
//                                  opened in it
//   diaspring --version            prints the version and exits
//   diaspring [DESIGN] --screenshot FILE [--chart FILE] [--guide FILE] [--press CommandN]...
//                                  shows the window, presses the named
//                                  buttons in order, saves the window (and
//                                  the chart alone, and the guide) as
//                                  images, and exits
//   diaspring --screenshot FILE --autodesign
//                                  saves instead the dialog 自动设计… after a
//                                  search with its default ranges
//   diaspring [DESIGN] --screenshot FILE --analysis [--press CommandN]...
//                                  saves instead the window 强度与分离特性
//                                  after the presses
//   diaspring [DESIGN] --screenshot FILE --compare FILE... [--press CommandN]...
//                                  saves instead the window 特性曲线对比 with
//                                  each design file (.diaspring) drawn beside
//                                  the current design and each other file
//                                  imported as a measured curve
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <cstring>
#include <string>

#include <QApplication>
#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QPixmap>
#include <QStringList>
#include <QTableWidget>
#include <QTimer>

#include "analysis_window.h"
#include "compare_window.h"
#include "auto_design_dialog.h"
#include "chart_widget.h"
#include "guide.h"
#include "main_window.h"
#include "translations.h"
#include "form/controls.h"
#include "render/write_failure.h"
#include "runtime/version.h"

namespace {

bool haveDisplay() {
  return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr ||
         std::getenv("QT_QPA_PLATFORM") != nullptr;
}

struct Options {
  QString design;
  QString screenshot;
  QString chart;
  QString guide;
  QStringList presses;
  bool autoDesign = false;
  bool analysis = false;
  QStringList compare;
  QString error;
};

Options parse(const QStringList& args) {
  Options o;
  for (qsizetype i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == QLatin1String("--screenshot") && hasValue) {
      o.screenshot = args[++i];
    } else if (a == QLatin1String("--chart") && hasValue) {
      o.chart = args[++i];
    } else if (a == QLatin1String("--autodesign")) {
      o.autoDesign = true;
    } else if (a == QLatin1String("--compare") && hasValue) {
      o.compare << args[++i];
    } else if (a == QLatin1String("--analysis")) {
      o.analysis = true;
    } else if (a == QLatin1String("--guide") && hasValue) {
      o.guide = args[++i];
    } else if (a == QLatin1String("--press") && hasValue) {
      o.presses << args[++i];
    } else if (!a.startsWith(QLatin1Char('-')) && o.design.isEmpty()) {
      o.design = a;
    } else {
      o.error = QStringLiteral("unknown or incomplete option: ") + a;
      return o;
    }
  }
  if (o.screenshot.isEmpty() && (!o.chart.isEmpty() || !o.guide.isEmpty() || !o.presses.isEmpty() || o.autoDesign ||
                                  o.analysis || !o.compare.isEmpty()))
    o.error = QStringLiteral("--chart, --guide, --press, --autodesign and --analysis need --screenshot");
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before Qt starts, so that it works without a display.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("diaspring %s\n", diaspring::kVersion);
      return std::fflush(stdout) == 0 ? 0 : 3;
    }
  }
  if (!haveDisplay()) {
    std::fputs("diaspring: no display (DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM); "
               "use the headless front end instead\n", stderr);
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("diaspring"));
  QApplication::setApplicationName(QStringLiteral("diaspring"));
  QApplication::setApplicationVersion(QString::fromUtf8(diaspring::kVersion));
  diaspring::app::installQtChinese(app);
  // Ties the window to its desktop entry (its name and icon under Wayland).
  QGuiApplication::setDesktopFileName(QStringLiteral("org.diaspring.Diaspring"));
  const Options options = parse(QApplication::arguments());
  if (!options.error.isEmpty()) {
    std::fprintf(stderr, "diaspring: %s\n", options.error.toLocal8Bit().constData());
    return 2;
  }

  diaspring::app::MainWindow window;
  window.show();
  if (options.screenshot.isEmpty()) {
    window.offerRestore();
    if (!options.design.isEmpty() && window.maybeSave()) window.openFile(options.design);
    return QApplication::exec();
  }
  if (!options.design.isEmpty()) {
    // Checked first: a screenshot run shows no message box.
    const diaspring::DesignRead read = diaspring::readDesignFile(QFile::encodeName(options.design).toStdString());
    if (!read.ok()) {
      std::fprintf(stderr, "diaspring: %s\n", read.error->english().c_str());
      return 1;
    }
    window.openFile(options.design);
  }

  for (const QString& name : options.presses) {
    const auto command = diaspring::commandFromName(name.toStdString());
    if (!command) {
      std::fprintf(stderr, "diaspring: no such button: %s\n", name.toLocal8Bit().constData());
      return 2;
    }
    window.press(*command);
  }
  if (!options.guide.isEmpty()) window.showGuide();
  int status = 0;
  // Each image is encoded as PNG in memory and written whole or not at all;
  // a failure is told with its reason.
  const auto savePng = [&status](const QPixmap& shot, const QString& path) {
    static const diaspring::Unmade kNoPng{"the image could not be encoded as PNG", "无法将图像编码为 PNG"};
    QByteArray bytes;
    QBuffer out(&bytes);
    const bool encoded = out.open(QIODevice::WriteOnly) && shot.save(&out, "PNG");
    const auto failure = diaspring::saveFile(path, encoded ? std::optional(bytes) : std::nullopt, kNoPng);
    if (!failure) return;
    std::fprintf(stderr, "diaspring: %s\n", failure->english().c_str());
    status = 1;
  };
  if (options.autoDesign) {
    window.openAutoDesign();
    diaspring::app::AutoDesignDialog* dialog = window.autoDesignDialog();
    QObject::connect(dialog, &diaspring::app::AutoDesignDialog::searchFinished, dialog, [&] {
      dialog->table()->selectRow(dialog->table()->rowCount() / 3);
      QTimer::singleShot(300, dialog, [&] {
        savePng(dialog->grab(), options.screenshot);
        QApplication::quit();
      });
    });
    if (!dialog->start()) return 1;
    QApplication::exec();
    return status;
  }
  if (options.analysis) window.showAnalysisWindow();
  if (!options.compare.isEmpty()) {
    window.showCompareWindow();
    for (const QString& file : options.compare) {
      if (file.endsWith(QLatin1String(".diaspring"), Qt::CaseInsensitive)) window.compareWindow()->openDesignFile(file);
      else window.compareWindow()->importMeasured(file);
    }
  }
  QTimer::singleShot(300, &window, [&] {
    if (!options.compare.isEmpty()) {
      savePng(window.compareWindow()->grab(), options.screenshot);
      QApplication::quit();
      return;
    }
    if (options.analysis) {
      savePng(window.analysisWindow()->grab(), options.screenshot);
      QApplication::quit();
      return;
    }
    savePng(window.grab(), options.screenshot);
    if (!options.chart.isEmpty()) savePng(window.chart()->grab(), options.chart);
    if (!options.guide.isEmpty()) savePng(window.guide()->grab(), options.guide);
    QApplication::quit();
  });
  QApplication::exec();
  return status;
}
