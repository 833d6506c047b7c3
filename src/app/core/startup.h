#ifndef TUNEWRIGHT_APP_CORE_STARTUP_H_
#define TUNEWRIGHT_APP_CORE_STARTUP_H_

#include <functional>

#include <QString>

#include "app/core/app_context.h"

namespace tw {

// The steps of start-up that only some runs have. An empty hook is skipped: the command-line
// tool registers no font and opens no audio output.
struct StartupHooks {
  // Registers the interface font files; returns the family name Qt reports, or empty on
  // failure (start-up then aborts with the font message).
  std::function<QString(const QString& regular, const QString& bold)> register_font;
  // Checks the audio engine's components, opens the output and creates the mixers; on failure
  // returns the abort message ("Audio output cannot be initialized.", ...), else empty.
  std::function<QString(AppContext&)> start_audio;
};

// The folder that plays the role of the working directory: an installed program works in the
// folder that holds it, a development run keeps the directory it was started in.
QString ProgramRoot(bool installed_build, const QString& program_folder,
                    const QString& current_folder);

// The smallest desktop the windows fit on.
bool DisplaySupported(int width, int height);

// The start-up steps from the data folder to the audio output. On an abort it has shown the
// "Program aborted" message and returns false; the caller then ends the program.
bool Startup(AppContext& context, const StartupHooks& hooks);

// Builds the settings catalogue and loads the preferences; from here the session restore
// loads the stored playlist.
void LoadSession(AppContext& context);

// The warning about a music or sleeves folder that is set but missing; empty when none is.
QString FolderWarning(const Preferences& preferences);
// The audio step of a run that plays sound: the engine's self-check, output and mixers.
QString StartAudio(AppContext& context,
                   engine::OutputChoice output = engine::OutputChoice::kFromEnvironment);
// The music folder as an absolute path ending in a separator (empty when none is set).
QString AudioFolder(const AppContext& context);
// Gives the mix scheduler the music folder and the beat filter of the preferences.
void ApplyMixPreferences(AppContext& context);

// Shows FolderWarning, if any, as a "Warning" message.
void CheckFolders(AppContext& context);

// Stores the selected playlist row (-1 for none), closes the databases and releases the audio.
void Shutdown(AppContext& context, int selected_row);

}  // namespace tw

#endif  // TUNEWRIGHT_APP_CORE_STARTUP_H_
