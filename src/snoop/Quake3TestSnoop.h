#pragma once

#include "snoop/Snoop.h"

#include <string>
#include <string_view>

// The engine that speaks the game's connectionless query protocol: it broadcasts
// FF FF FF FF "getinfo xxx" to ports 27960..27963, listens on 27961, and announces every
// "infoResponse" as a ServerInfo with the notification "SnoopServerFound" (object: the
// engine; user info "userInfo": std::shared_ptr<const HostInfo>). Everything here runs
// on the engine thread.
class Quake3TestSnoop : public Snoop {
public:
    static constexpr const char* ServerFoundNotificationName = "SnoopServerFound";

    Quake3TestSnoop() = default;

    std::uint16_t startPort() const override { return 27960; }
    std::uint32_t nPorts() const override { return 4; }
    std::uint16_t receivePort() const override { return 27961; }
    Data serverRequest() const override;

    // A connectionless datagram: the marker FF FF FF FF, then the text as it stands.
    static Data outOfBand(std::string_view text);

    // Checks the marker, splits the command word from its argument and dispatches it;
    // returns what the command handling wants replied (nothing, in this protocol).
    std::optional<Data> handleAnswer(const Data& datagram, const Ip& sender, std::uint16_t port) override;
    void interpretCommand(const std::string& command, const std::string& argument, const Ip& sender, std::uint16_t port);
    void handleServerCommand(const std::string& command, const std::string& argument, const Ip& sender, std::uint16_t port);

    // The reply hook of a command handler; cleared at the start of every answer.
    void setReturnData(std::optional<Data> data) { m_returnData = std::move(data); }
    const std::optional<Data>& returnData() const { return m_returnData; }

private:
    std::optional<Data> m_returnData;
};
