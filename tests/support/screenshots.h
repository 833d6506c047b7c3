#ifndef TUNEWRIGHT_TESTS_SUPPORT_SCREENSHOTS_H_
#define TUNEWRIGHT_TESTS_SUPPORT_SCREENSHOTS_H_

#include <QDir>
#include <QPixmap>
#include <QWidget>

namespace tw::testing {

// Saves a picture of `widget` as NAME.png into $TW_SCREENSHOT_DIR when that is set, so a
// developer can look at what a window test built.
inline void MaybeSaveScreenshot(QWidget& widget, const QString& name) {
  const QString dir = qEnvironmentVariable("TW_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  QDir().mkpath(dir);
  widget.grab().save(QDir(dir).filePath(name + ".png"));
}

}  // namespace tw::testing

#endif  // TUNEWRIGHT_TESTS_SUPPORT_SCREENSHOTS_H_
