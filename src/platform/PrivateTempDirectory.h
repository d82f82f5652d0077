#pragma once
// The program's own folder inside the system's temporary directory, where it writes its temporary
// copies of pictures and advertising files: made once per run (and made anew when the temporary
// directory changes or the folder is gone), readable by its owner alone, removed when the program
// ends. Another user on the computer can neither read the copies nor plant links under their
// names.
#include <QString>

// The folder's path with its trailing "/". Throws Error("Could not find temporary path") when the
// temporary directory does not exist or cannot be written, and Error when the folder cannot be
// made in it. Called on the user-interface thread.
QString privateTempDirectory();
