// The session's end and the start after it: when Windows ends the session while the program
// runs, the tape goes to a journal file of its own (each running copy its own) and Windows is
// asked to start it again with that file; started so, the program takes the tape back.
#pragma once

#include <windows.h>

#include <optional>

#include "shell/model/journal.h"

namespace tapecount {

struct Shell;

// The start: the restart that a command line asks for, if any. Its folder becomes the
// current one, so the settings file is read from where the program ran.
std::optional<RestartRequest> TakeRestartRequest(const wchar_t* commandLine);
// Once the window exists: the journal's tape shown again, and its file deleted; a missing,
// damaged or foreign file gives an empty start and is left alone, and so does a want of
// memory, which is said.
void RestoreTape(Shell& shell, const RestartRequest& request) noexcept;

// WM_QUERYENDSESSION: the journal's place chosen and the restart registered (the last moment
// Windows allows it); the session may end.
LRESULT OnQueryEndSession(Shell& shell);
// WM_ENDSESSION: when the session does end, the tape to the journal; when it does not, the
// restart is withdrawn.
LRESULT OnEndSession(Shell& shell, bool ending);

}  // namespace tapecount
