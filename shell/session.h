// The session's end and the start after it: when Windows ends the session while the program
// runs, the tape goes to a journal file of its own (each running copy its own) and Windows is
// asked to start it again with that file; started so, the program takes the tape back.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "shell/model/journal.h"

namespace tapecount {

struct Shell;

// A kept tape to take back: its file, and the tape it holds.
struct KeptTape {
  std::wstring path;
  Journal journal;
};

// The start: the kept tape a command line names, read before the settings are. A restart's
// folder becomes the current one, so the settings file is read from where the program ran; a
// tape dropped on the program runs it in its own folder. Nothing for an ordinary start, nor
// for a file that is not a tape (missing, damaged, foreign, a folder; left alone), nor when
// there is no memory for the tape: then the program starts empty, where it was started.
std::optional<KeptTape> TakeRestartRequest(const wchar_t* commandLine);
// Once the window exists: the tape shown again, and its file deleted; a tape this release
// does not give back (or no memory for it) gives an empty start and is left alone.
void RestoreTape(Shell& shell, KeptTape& tape);

// WM_QUERYENDSESSION: the journal's place chosen and the restart registered (the last moment
// Windows allows it); the session may end.
LRESULT OnQueryEndSession(Shell& shell);
// WM_ENDSESSION: when the session does end, the tape to the journal; when it does not, the
// restart is withdrawn.
LRESULT OnEndSession(Shell& shell, bool ending);

}  // namespace tapecount
