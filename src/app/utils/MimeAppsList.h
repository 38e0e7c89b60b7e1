// The desktop's default-application lists (the freedesktop.org mimeapps.list files):
// which program opens which file type, per user and system-wide.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

class MimeAppsList {
public:
    // Reads the file; a missing file reads as empty. False when it exists but cannot be read.
    bool Load(const std::filesystem::path& file);
    // Writes through a temporary file renamed into place, creating the folder. False on failure.
    bool Save(const std::filesystem::path& file) const;

    // The desktop ids listed under [Default Applications] for the type, in order.
    std::vector<std::string> Defaults(const std::string& mimeType) const;
    // Makes id the type's only default.
    void SetDefault(const std::string& mimeType, const std::string& id);
    // Puts id first among the type's [Added Associations].
    void AddAssociation(const std::string& mimeType, const std::string& id);
    // Removes the type's entries from [Default Applications] and [Added Associations].
    void RemoveType(const std::string& mimeType);

private:
    // The value of key in group; false when absent.
    bool Find(const std::string& group, const std::string& key, size_t& line) const;
    void Put(const std::string& group, const std::string& key, const std::string& value);

    std::vector<std::string> lines_;
};

// The freedesktop.org folders, from the XDG variables with their defaults.
struct XdgFolders {
    std::filesystem::path configHome;
    std::vector<std::filesystem::path> configDirs;
    std::filesystem::path dataHome;
    std::vector<std::filesystem::path> dataDirs;

    static XdgFolders FromEnvironment();
    // The mimeapps.list files in the order the desktop consults them.
    std::vector<std::filesystem::path> MimeAppsFiles() const;
    // True when a desktop entry of that id is installed for the user or the system.
    bool IsInstalled(const std::string& desktopId) const;
};
