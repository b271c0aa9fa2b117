// Starts the calculator's window.
//
//   diaspring                      the window
//   diaspring --version            prints "diaspring VERSION"; needs no display
//   diaspring --screenshot FILE [--chart FILE] [--press CommandN]...
//                                  shows the window, presses the named
//                                  buttons in order, saves the window (and
//                                  the chart alone) as images, and exits
//   diaspring --screenshot FILE --autodesign
//                                  saves instead the dialog 自动设计… after a
//                                  search with its default ranges
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <QApplication>
#include <QStringList>
#include <QTableWidget>
#include <QTimer>

#include "auto_design_dialog.h"
#include "chart_widget.h"
#include "main_window.h"
#include "form/controls.h"
#include "runtime/version.h"

namespace {

bool haveDisplay() {
  return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr ||
         std::getenv("QT_QPA_PLATFORM") != nullptr;
}

struct Options {
  QString screenshot;
  QString chart;
  QStringList presses;
  bool autoDesign = false;
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
    } else if (a == QLatin1String("--press") && hasValue) {
      o.presses << args[++i];
    } else {
      o.error = QStringLiteral("unknown or incomplete option: ") + a;
      return o;
    }
  }
  if (o.screenshot.isEmpty() && (!o.chart.isEmpty() || !o.presses.isEmpty() || o.autoDesign))
    o.error = QStringLiteral("--chart, --press and --autodesign need --screenshot");
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
  // Ties the window to its desktop entry (its name and icon under Wayland).
  QGuiApplication::setDesktopFileName(QStringLiteral("org.diaspring.Diaspring"));
  const Options options = parse(QApplication::arguments());
  if (!options.error.isEmpty()) {
    std::fprintf(stderr, "diaspring: %s\n", options.error.toLocal8Bit().constData());
    return 2;
  }

  diaspring::app::MainWindow window;
  window.show();
  if (options.screenshot.isEmpty()) return QApplication::exec();

  for (const QString& name : options.presses) {
    const auto command = diaspring::commandFromName(name.toStdString());
    if (!command) {
      std::fprintf(stderr, "diaspring: no such button: %s\n", name.toLocal8Bit().constData());
      return 2;
    }
    window.press(*command);
  }
  int status = 0;
  if (options.autoDesign) {
    window.openAutoDesign();
    diaspring::app::AutoDesignDialog* dialog = window.autoDesignDialog();
    QObject::connect(dialog, &diaspring::app::AutoDesignDialog::searchFinished, dialog, [&] {
      dialog->table()->selectRow(dialog->table()->rowCount() / 3);
      QTimer::singleShot(300, dialog, [&] {
        if (!dialog->grab().save(options.screenshot)) status = 1;
        QApplication::quit();
      });
    });
    if (!dialog->start()) return 1;
    QApplication::exec();
    if (status != 0) std::fputs("diaspring: could not save the screenshot\n", stderr);
    return status;
  }
  QTimer::singleShot(300, &window, [&] {
    if (!window.grab().save(options.screenshot)) status = 1;
    if (!options.chart.isEmpty() && !window.chart()->grab().save(options.chart)) status = 1;
    QApplication::quit();
  });
  QApplication::exec();
  if (status != 0) std::fputs("diaspring: could not save the screenshot\n", stderr);
  return status;
}
