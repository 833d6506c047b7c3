// tunewright-cli detect-tempo end to end: one line per readable file, a message and a
// failing exit status for the others, every file tried.
#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>

#include "engine/decode_fixtures.h"

namespace {

TEST(TempoCliTest, PrintsTempoTabPathAndReportsUnreadableFiles) {
  tw::test::TempDir dir;
  const std::string song = dir.File("song.mp3");  // a WAV inside: opened by content
  ASSERT_TRUE(tw::test::WriteWav(song, tw::test::MakeDrumTrack(124.0, 12.0, 1), 2));
  const std::string notes = dir.File("notes.ogg");
  ASSERT_TRUE(tw::test::WriteBytes(notes, tw::test::Bytes(500, 'x')));
  const std::string missing = dir.File("missing.wav");

  QProcess cli;
  cli.start(QStringLiteral(TW_BIN_DIR "/tunewright-cli"),
            {QStringLiteral("detect-tempo"), QString::fromStdString(notes),
             QString::fromStdString(song), QString::fromStdString(missing)});
  ASSERT_TRUE(cli.waitForFinished(60000));
  EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(cli.exitCode(), 1);
  const QStringList lines =
      QString::fromUtf8(cli.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 1) << cli.readAllStandardOutput().toStdString();
  const QStringList fields = lines[0].split(QLatin1Char('\t'));
  ASSERT_EQ(fields.size(), 2);
  EXPECT_EQ(fields[0].size(), 6);
  EXPECT_NEAR(fields[0].toDouble(), 124.0, 0.5) << fields[0].toStdString();
  EXPECT_EQ(fields[1].toStdString(), song);
  const QString errors = QString::fromLocal8Bit(cli.readAllStandardError());
  EXPECT_TRUE(errors.contains(QString::fromStdString(notes))) << errors.toStdString();
  EXPECT_TRUE(errors.contains(QString::fromStdString(missing))) << errors.toStdString();
}

}  // namespace
