#include "playlist/playlist_files.h"

#include <QDir>
#include <QFileInfo>

#include "playlist/load_playlist.h"
#include "playlist_fixture.h"

namespace tw {
namespace {

using Kind = testing::ScriptedDialogs::Kind;
using testing::PlaylistFixture;
using testing::Song;

TEST(BuildPlaylistText, MarksAnchorsAndShortenedSongs) {
  Playlist playlist;
  EXPECT_EQ(BuildPlaylistText(playlist), "|");
  auto entry = [](QString id, QString pitch, float playtime, int8_t shortened) {
    PlaylistEntry e;
    e.id = std::move(id);
    e.pitch = std::move(pitch);
    e.playtime = playtime;
    e.shortened = shortened;
    return e;
  };
  playlist.entries = {entry("12", "  0.00%", 245.374f, 0), entry("7", "+0.00%", 180, 1),
                      entry("30", " -1.50%", 301.124f, 0), entry("4", "  0.00%", 0.5f, 1)};
  EXPECT_EQ(BuildPlaylistText(playlist).toStdString(), "12R,7,30,4R|245.37,180.00S,301.12,0.50S");
}

TEST(PlaylistFileLine, AcceptanceTest) {
  struct Case {
    const char* line;
    bool accepted;
  } cases[] = {
      {"12R,7|245.37,180.00", true},
      {"12R,7R,3|1,2,3", true},
      {"12,7R|1.00,2.00", false},
      {"12R|245.37", false},  // one song: no ","
      {"|", false},
      {"12R,7", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsPlaylistFileLine(c.line), c.accepted) << c.line;
}

TEST(NativePath, UsesThePlatformSeparator) {
  EXPECT_EQ(NativePath("playlists/playlist.mix"),
            QDir::toNativeSeparators("playlists/playlist.mix"));
  EXPECT_EQ(NativePath("House\\Deep/track.mp3"), QDir::toNativeSeparators("House/Deep/track.mp3"));
}

class PlaylistFilesTest : public PlaylistFixture {
 protected:
  PlaylistFilesTest() {
    a_ = Add(Song("A", "One", 120));
    b_ = Add(Song("B", "Two", 120));  // at the anchor's tempo, yet not marked
    c_ = Add(Song("C", "Three", 126));
    text_ = a_ + "R," + b_ + "," + c_ + "R," + a_ + "|110.00,90.00S,90.25,280.00";
  }

  QString Playlists(const QString& name) const { return root_.File("playlists/" + name); }

  // The save and load commands with `path` chosen in the requester.
  void Save(const QString& path) {
    dialogs_.ChooseNext(path);
    SavePlaylistFile(services_);
  }

  void LoadFile(const QString& path) {
    dialogs_.ChooseNext(path);
    LoadPlaylistFile(services_);
  }

  QString a_, b_, c_, text_;
};

TEST_F(PlaylistFilesTest, SaveAndLoadGiveTheSameText) {
  ASSERT_TRUE(LoadPlaylist(services_, text_, false));
  const QString path = Playlists("Nächte.MIX");  // capitals in the extension are accepted
  Save(path);
  ASSERT_EQ(dialogs_.shown().size(), 1u);
  const auto& requester = dialogs_.shown()[0];
  EXPECT_EQ(requester.kind, Kind::kSaveFile);
  EXPECT_EQ(requester.title, "Save playlist as...");
  EXPECT_EQ(requester.text, NativePath(Playlists("playlist.mix")));
  EXPECT_EQ(requester.pattern, ".mix|*.mix");
  // UTF-8 without byte-order mark, one CR LF line.
  EXPECT_EQ(root_.Read("playlists/Nächte.MIX"), (text_ + "\r\n").toUtf8());

  ASSERT_TRUE(LoadPlaylist(services_, a_ + "|1.00", false));
  dialogs_.Clear();
  sink_.calls.clear();
  LoadFile(path);
  ASSERT_EQ(dialogs_.shown().size(), 1u);
  const auto& open = dialogs_.shown()[0];
  EXPECT_EQ(open.kind, Kind::kOpenFile);
  EXPECT_EQ(open.title, "Choose playlist file to load");
  EXPECT_EQ(open.text, NativePath(Playlists("*.mix")));
  EXPECT_EQ(open.pattern, ".mix|*.mix");
  EXPECT_EQ(playlist_.size(), 4);
  EXPECT_EQ(sink_.calls.back(), "cue 0");
  EXPECT_EQ(BuildPlaylistText(playlist_), text_);
  EXPECT_EQ(StoredIds(), text_);
}

TEST_F(PlaylistFilesTest, SavingAsksBeforeReplacingAFile) {
  ASSERT_TRUE(LoadPlaylist(services_, text_, false));
  const QString path = Playlists("set.mix");
  const QByteArray longer(4000, 'x');
  root_.Write("playlists/set.mix", longer);
  const QString question =
      "Save playlist warning|File set.mix already exists.\r\rDo you want to overwrite this file?";

  // No: back to the requester, which is then cancelled.
  dialogs_.ChooseNext(path);
  dialogs_.AnswerNext(DialogAnswer::kNo);
  dialogs_.ChooseNext("");
  SavePlaylistFile(services_);
  EXPECT_EQ(dialogs_.Messages(), std::vector<QString>{question});
  EXPECT_EQ(dialogs_.shown().size(), 3u);
  // Cancel: stops at once.
  dialogs_.Clear();
  dialogs_.ChooseNext(path);
  dialogs_.AnswerNext(DialogAnswer::kCancel);
  SavePlaylistFile(services_);
  EXPECT_EQ(dialogs_.shown().size(), 2u);
  EXPECT_EQ(dialogs_.shown()[1].buttons, DialogButtons::kYesNoCancel);
  EXPECT_EQ(dialogs_.shown()[1].icon, DialogIcon::kWarning);
  EXPECT_EQ(root_.Read("playlists/set.mix"), longer);
  // Yes: the file holds the new line and nothing of the old content.
  dialogs_.ChooseNext(path);
  dialogs_.AnswerNext(DialogAnswer::kYes);
  SavePlaylistFile(services_);
  EXPECT_EQ(root_.Read("playlists/set.mix"), (text_ + "\r\n").toUtf8());
}

TEST_F(PlaylistFilesTest, SavingRefusesOtherExtensionsAndReportsAFailedWrite) {
  ASSERT_TRUE(LoadPlaylist(services_, text_, false));
  dialogs_.ChooseNext(Playlists("set.txt"));
  dialogs_.ChooseNext(Playlists("set"));
  dialogs_.ChooseNext("");
  SavePlaylistFile(services_);
  const QString refusal = "Playlist saving error|Playlist file must have mix-extension.";
  EXPECT_EQ(dialogs_.Messages(), (std::vector<QString>{refusal, refusal}));
  EXPECT_EQ(dialogs_.shown()[1].icon, DialogIcon::kError);
  EXPECT_FALSE(QFileInfo::exists(Playlists("set.txt")));

  // A folder in the way cannot be replaced by a file: reported, and the folder stays.
  dialogs_.Clear();
  ASSERT_TRUE(QDir().mkpath(Playlists("folder.mix")));
  dialogs_.ChooseNext(Playlists("folder.mix"));
  dialogs_.AnswerNext(DialogAnswer::kYes);
  SavePlaylistFile(services_);
  ASSERT_EQ(dialogs_.Messages().size(), 2u);
  EXPECT_EQ(dialogs_.Messages()[1], "Playlist saving error|File folder.mix cannot be written.");
  EXPECT_TRUE(QFileInfo(Playlists("folder.mix")).isDir());
}

TEST_F(PlaylistFilesTest, AnEmptyPlaylistSavesALineThatLoadingRefuses) {
  QDir(root_.Path()).removeRecursively();  // the commands make the playlists folder again
  ASSERT_TRUE(QDir().mkpath(root_.File("assets/data")));
  Save(Playlists("empty.mix"));
  EXPECT_EQ(root_.Read("playlists/empty.mix"), "|\r\n");
  dialogs_.Clear();
  LoadFile(Playlists("empty.mix"));
  EXPECT_EQ(dialogs_.Messages(),
            std::vector<QString>{"Playlist loading error|File is not a Tunewright playlist file."});
}

TEST_F(PlaylistFilesTest, LoadingRefusesWhatIsNotAPlaylistFile) {
  ASSERT_TRUE(LoadPlaylist(services_, a_ + "|1.00", false));
  root_.Write("playlists/one.mix", (a_ + "R|245.37\r\n").toUtf8());
  root_.Write("playlists/unmarked.mix", (a_ + "," + b_ + "|1.00,2.00\r\n").toUtf8());
  root_.Write("playlists/list.txt", (text_ + "\r\n").toUtf8());
  root_.Write("playlists/binary.mix", QByteArray("\x00\xff\xfe|,R", 7));
  ASSERT_TRUE(QDir().mkpath(Playlists("folder.mix")));
  for (const char* name :
       {"one.mix", "unmarked.mix", "list.txt", "binary.mix", "folder.mix", "missing.mix"}) {
    dialogs_.Clear();
    LoadFile(Playlists(name));
    EXPECT_EQ(dialogs_.Messages(), std::vector<QString>{"Playlist loading error|File is not a "
                                                        "Tunewright playlist file."})
        << name;
    EXPECT_EQ(dialogs_.shown().back().icon, DialogIcon::kError);
  }
  dialogs_.Clear();
  LoadFile("");  // cancelled
  EXPECT_EQ(dialogs_.shown().size(), 1u);
  EXPECT_EQ(playlist_.size(), 1);
  EXPECT_EQ(StoredIds(), "");
}

TEST_F(PlaylistFilesTest, LoadingReadsTheFirstLineWhateverItsEnding) {
  root_.Write("playlists/lf.mix", ("\xEF\xBB\xBF" + text_ + "\nsecond line\n").toUtf8());
  LoadFile(Playlists("lf.mix"));
  EXPECT_TRUE(dialogs_.Messages().empty());
  EXPECT_EQ(BuildPlaylistText(playlist_), text_);
}

TEST_F(PlaylistFilesTest, AFileOfUnknownSongsLoadsNothingAndKeepsTheSession) {
  ASSERT_TRUE(LoadPlaylist(services_, text_, false));
  ASSERT_TRUE(StoreSessionPlaylist(paths_, text_));
  sink_.calls.clear();
  root_.Write("playlists/gone.mix", "998R,999|1.00,2.00\r\n");
  LoadFile(Playlists("gone.mix"));
  EXPECT_TRUE(dialogs_.Messages().empty());
  EXPECT_TRUE(sink_.calls.empty());
  EXPECT_EQ(playlist_.size(), 4);
  EXPECT_EQ(StoredIds(), text_);
}

}  // namespace
}  // namespace tw
