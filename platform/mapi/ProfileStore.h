// The process's profiles and their message services, shared by profile administration and
// logon. Private to platform/mapi.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/mapi/PstFile.h"

struct PstServiceEntry {
    MAPIUID uid;
    std::string serviceName;
    std::string displayName;
    std::string path;               // empty until configured
    std::shared_ptr<PstFile> file;  // opened when configured
};

struct MapiProfile {
    std::string name;
    std::vector<PstServiceEntry> services;
};

class ProfileStore {
public:
    static ProfileStore& Get();
    std::shared_ptr<MapiProfile> Find(const std::string& name);
    // False when a profile of that name exists.
    bool Create(const std::string& name);
    bool Remove(const std::string& name);
    std::vector<std::string> Names();
    std::mutex& Lock() { return mutex_; }

private:
    std::mutex mutex_;
    std::map<std::string, std::shared_ptr<MapiProfile>> profiles_;
};

// Whether MAPIInitialize has been called more often than MAPIUninitialize.
bool MapiInitialized();
