// Pictures and type names of shell items. The namespace says which picture an item shows; a picture source
// (the toolkit's, installed at start-up) draws it from the desktop's icon theme. Without a
// source items show no picture, as in headless runs.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/shell/ShellIdList.h"
#include "platform/win/WinTypes.h"

enum class ShellIcon { Folder, FolderOpen, Home, Desktop, Documents, Computer, Drive, RemovableDrive, NetworkDrive, File, LinkOverlay };

// The picture of an item with those attributes (SFGAO_*), opened or not.
ShellIcon GetShellIcon(const ShellIdList& absolute, DWORD attributes, bool open);

// Draws an icon as size x size pixels (0xAARRGGBB, top row first); empty when it cannot.
using ShellIconSource = std::function<std::vector<std::uint32_t>(ShellIcon icon, int size)>;
void SetShellIconSource(ShellIconSource source);
std::vector<std::uint32_t> ShellIconPixels(ShellIcon icon, int size);

// Pictures of file types: the icon theme's name for a file's type ("text-html"), one the
// theme has (the type's own, else its generic one); empty when unknown. A name source and a
// source drawing named icons are installed with the picture source.
using ShellTypeIconNameSource = std::function<std::string(const std::string& path)>;
void SetShellTypeIconNameSource(ShellTypeIconNameSource source);
std::string ShellTypeIconName(const std::string& path);
using ShellNamedIconSource = std::function<std::vector<std::uint32_t>(const std::string& name, int size)>;
void SetShellNamedIconSource(ShellNamedIconSource source);
std::vector<std::uint32_t> ShellNamedIconPixels(const std::string& name, int size);

// The MIME types of an item, its own first and then those it derives from: "inode/directory"
// for a folder; a file is always "application/octet-stream" as well. A source (the toolkit's
// MIME database, installed with the pictures) names the rest.
using ShellMimeTypeSource = std::function<std::vector<std::string>(const std::string& path, bool folder)>;
void SetShellMimeTypeSource(ShellMimeTypeSource source);
std::vector<std::string> ShellMimeTypes(const std::string& path, bool folder);

// The type name of an item ("Folder", a file type's description): "System Folder" for places
// without a path; a source (the toolkit's MIME database, installed at start-up) names file
// types, else files are "File" or "<EXT> File".
WideString GetShellTypeName(const std::string& path, DWORD attributes);
using ShellTypeNameSource = std::function<WideString(const std::string& path, bool folder)>;
void SetShellTypeNameSource(ShellTypeNameSource source);
