// One window from process start to its first finished frame, then quit. Built three times: as the
// program's window, and as an empty window of the same size for a baseline, once as it is and
// once made to load the application font as the first text on screen would. Prints, in
// nanoseconds of the system-wide monotonic clock, the entry to main, the window's first paint
// event and the moment that frame (the window and all its children) is done.
#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QWidget>
#include <cstdio>
#include <ctime>

#include "ui/application.h"
#ifdef LOADCALC_EMPTY_WINDOW
#include "form/layout.h"
#else
#include "ui/calculator/form1.h"
#endif

namespace {

long long monotonic_ns() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1'000'000'000LL + t.tv_nsec;
}

class FirstFrame : public QObject {
 public:
  long long painted = 0;
  long long done = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && painted == 0) {
      painted = monotonic_ns();
      // Runs once the current frame has been painted and flushed.
      QMetaObject::invokeMethod(
          this,
          [this] {
            done = monotonic_ns();
            QApplication::quit();
          },
          Qt::QueuedConnection);
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  const long long entered = monotonic_ns();
  QApplication app(argc, argv);
  loadcalc::ui::configure_application(app);
#ifdef LOADCALC_EMPTY_WINDOW
  QWidget window;
  window.resize(loadcalc::form::to_pixels(loadcalc::form::client_width_twips),
                loadcalc::form::to_pixels(loadcalc::form::client_height_twips));
#ifdef LOADCALC_LOAD_FONT
  QFontMetrics(window.font()).horizontalAdvance(QStringLiteral("楼梯恒荷载"));
#endif
#else
  loadcalc::ui::Form1 window;
#endif
  FirstFrame frame;
  window.installEventFilter(&frame);
  window.show();
  QApplication::exec();
  std::printf("%lld %lld %lld\n", entered, frame.painted, frame.done);
  return frame.done == 0;
}
