#include "app/core/startup.h"

#include <QDir>
#include <QFileInfo>

namespace tw {
namespace {

bool Abort(AppContext& context, const QString& text) {
  context.dialogs.Message("Program aborted", text, DialogIcon::kError);
  return false;
}

bool FolderMissing(const QString& path) { return !path.isEmpty() && !QFileInfo(path).isDir(); }

}  // namespace

QString ProgramRoot(bool installed_build, const QString& program_folder,
                    const QString& current_folder) {
  return installed_build ? program_folder : current_folder;
}

bool DisplaySupported(int width, int height) { return width >= 800 && height >= 600; }

bool Startup(AppContext& context, const StartupHooks& hooks) {
  const DataPaths& paths = context.paths;
  QDir().mkpath(paths.DataFolder());  // a failure shows up when the databases are opened
  if (!QFileInfo::exists(paths.BeatsFile())) return Abort(context, "Failed to load beats.wav");
  if (!OpenDatabases(paths, context.dialogs, context.databases)) return false;
  if (!QFileInfo::exists(paths.FontFile())) {
    CloseDatabases(context.databases);
    return Abort(context, "Failed to load Bebas-Regular.ttf");
  }
  if (hooks.register_font) {
    context.interface_font_family = hooks.register_font(paths.FontFile(), paths.BoldFontFile());
    if (context.interface_font_family.isEmpty()) {
      CloseDatabases(context.databases);
      return Abort(context, "Failed to load Bebas-Regular.ttf");
    }
  }
  if (hooks.start_audio) {
    const QString failure = hooks.start_audio(context);
    if (!failure.isEmpty()) {
      CloseDatabases(context.databases);
      return Abort(context, failure);
    }
  }
  return true;
}

QString StartAudio(AppContext& context, engine::OutputChoice output) {
  const QString failure = context.audio.Start(output);
  if (failure.isEmpty()) context.scheduler.SetMixer(context.audio.main_mixer());
  return failure;
}

void LoadSession(AppContext& context) {
  context.catalogue = BuildSettingsCatalogue(context.databases.song_database);
  LoadPreferences(context.paths, context.catalogue, context.preferences);
  ApplyMixPreferences(context);
}

QString AudioFolder(const AppContext& context) {
  QString folder = context.preferences.Path_audiofiles;
  if (folder.isEmpty()) return folder;
  // A music folder relative to the program's root works from any working directory.
  if (QDir::isRelativePath(folder)) folder = QDir(context.paths.Root()).filePath(folder);
  if (!folder.endsWith('/') && !folder.endsWith(QDir::separator())) folder += QDir::separator();
  return folder;
}

void ApplyMixPreferences(AppContext& context) {
  context.scheduler.SetAudioFolder(AudioFolder(context));
  context.scheduler.SetBeatFilter(BeatFilterFromText(context.preferences.Filter_overlapped_beats));
}

QString FolderWarning(const Preferences& preferences) {
  QString warning;
  if (FolderMissing(preferences.Path_audiofiles)) {
    warning += "Music folder " + preferences.Path_audiofiles + " does not exists.";
  }
  if (FolderMissing(preferences.Path_sleevesfiles)) {
    if (!warning.isEmpty()) warning += "\n\n";
    warning += "Sleeves folder " + preferences.Path_sleevesfiles + " does not exists.";
  }
  return warning;
}

void CheckFolders(AppContext& context) {
  const QString warning = FolderWarning(context.preferences);
  if (!warning.isEmpty()) context.dialogs.Message("Warning", warning, DialogIcon::kWarning);
}

void Shutdown(AppContext& context, int selected_row) {
  if (auto writer = OpenPreferencesFile(context.paths)) {
    writer->SelectGroup(kSessionGroup);
    writer->WriteInteger(kPlaylistPositionKey, selected_row);
    writer->Close();
  }
  CloseDatabases(context.databases);
  context.audio.Stop();  // frees the mixers with every stream in them
}

}  // namespace tw
