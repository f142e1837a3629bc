#pragma once

#include <thread>

class QApplication;

namespace loadcalc::ui {

// The look every window of the program shares: Fusion style, which draws a frame's title above
// its line as the control table's coordinates assume, and one 9-point simplified-Chinese font.
// Call before the first widget is built.
void configure_application(QApplication& app);

// Reading the system's font configuration (fontconfig's XML files and caches) is the largest
// single cost of starting up, and it needs nothing from Qt. Made first thing in main, a
// FontConfigWarmup reads it on a second thread while the QApplication loads its platform plugin
// and connects to the display; Qt's own request for it then finds it done. Wait before the first
// widget is built: two threads asking for it at the same moment would each read it all.
// Built without fontconfig, it does nothing.
class FontConfigWarmup {
 public:
  FontConfigWarmup();
  FontConfigWarmup(const FontConfigWarmup&) = delete;
  FontConfigWarmup& operator=(const FontConfigWarmup&) = delete;
  ~FontConfigWarmup();

  // Returns once the configuration is read; any number of times.
  void wait();

 private:
  std::thread reader_;
};

}  // namespace loadcalc::ui
