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

// The start: the kept tape a command line names, if any. A restart's folder becomes the
// current one, so the settings file is read from where the program ran; a tape dropped on
// the program (its path alone) runs it in its own folder. Nothing for an ordinary start, nor
// for a dropped file that does not begin as a tape (missing, foreign, a folder): then the
// program starts as it would without it, and the file is left alone.
std::optional<std::wstring> TakeRestartRequest(const wchar_t* commandLine);
// Once the window exists: the kept tape read and shown again, and its file deleted; a
// damaged file, or a tape this release does not give back, gives an empty start and is left
// alone, and so does a want of memory, which is said.
void RestoreTape(Shell& shell, const std::wstring& path) noexcept;

// WM_QUERYENDSESSION: the journal's place chosen and the restart registered (the last moment
// Windows allows it); the session may end. Throws std::bad_alloc when there is no memory for
// the journal's place: the session had better not end.
LRESULT OnQueryEndSession(Shell& shell);
// WM_ENDSESSION: when the session does end, the tape to the journal, written without taking
// memory once its place is chosen; when it does not, the restart is withdrawn.
LRESULT OnEndSession(Shell& shell, bool ending);

}  // namespace tapecount
