#include "support/temp_root.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace tw::testing {

TempRoot::TempRoot(Contents contents) {
  EXPECT_TRUE(dir_.isValid());
  if (contents == kWithAssets) {
    Write("assets/beats.wav", "RIFF");
    Write("assets/Bebas-Regular.ttf", "font");
    QDir(Path()).mkpath("assets/data");
  }
}

void TempRoot::Write(const QString& relative, const QByteArray& bytes) const {
  const QString path = File(relative);
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  file.write(bytes);
}

QByteArray TempRoot::Read(const QString& relative) const {
  QFile file(File(relative));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

void TempRoot::Remove(const QString& relative) const {
  const QString path = File(relative);
  if (QFileInfo(path).isDir()) {
    QDir(path).removeRecursively();
  } else {
    QFile::remove(path);
  }
}

}  // namespace tw::testing
