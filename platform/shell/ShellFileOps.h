// The desktop's file operations the program hands files to: the trash, for files the user
// deletes (never removed for good), and the desktop's default program, for opening a file.
#pragma once

#include <string>

#include "platform/win/WinTypes.h"

// Moves a file or folder into the desktop trash (the home trash, or the trash at the top of
// the file system that holds it), with the record the file manager needs to put it back.
// False with *error (a readable reason) when it stays where it was.
bool MoveToTrash(const WideString& path, std::string* error = nullptr);

enum class DesktopOpenResult { Opened, NoHandler, Failed };

// Opens a file with the desktop's default program for its type. Nothing is ever executed
// directly: the desktop decides what opens the file. NoHandler when no program is set for the
// type.
DesktopOpenResult OpenWithDesktop(const WideString& path);
