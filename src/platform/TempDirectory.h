#pragma once
// The system's temporary directory, where the program writes temporary copies of pictures and
// advertising files taken from the database.
#include <QString>

// The directory's path with its trailing "/", ready for a bare file name to be appended.
// Throws Error("Could not find temporary path") when the directory does not exist or cannot be
// written.
QString TempDirectory();
