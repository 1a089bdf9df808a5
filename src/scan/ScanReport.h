#pragma once

#include "hosts/HostManager.h"

#include <string>

// The registry's entries as harkener-scan prints them.
class ScanReport {
public:
    explicit ScanReport(HostManager::EntryList entries)
        : m_entries(std::move(entries))
    {
    }

    // Aligned columns: address:port, host name, server name, map, players, protocol.
    std::string table() const;
    // An array of {"address", "port", "Hostname", "info": {every info key}}.
    std::string json() const;

private:
    HostManager::EntryList m_entries;
};
