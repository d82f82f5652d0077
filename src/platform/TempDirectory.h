#pragma once
// The system's temporary directory. The program's temporary copies of pictures and advertising
// files go into its own folder inside it (privateTempDirectory()); documents for the word
// processor, which outlive the program, go here as new files.
#include <QString>

// The directory's path with its trailing "/", ready for a bare file name to be appended.
// Throws Error("Could not find temporary path") when the directory does not exist or cannot be
// written.
QString TempDirectory();
