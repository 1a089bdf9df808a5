#pragma once

#include "hosts/HostInfo.h"

// A game client's entry; nothing beyond the host attributes.
class ClientInfo : public HostInfo {
public:
    using HostInfo::HostInfo;

    static std::shared_ptr<ClientInfo> object() { return std::make_shared<ClientInfo>(); }

    std::shared_ptr<HostInfo> copy() const override { return std::make_shared<ClientInfo>(*this); }
};
