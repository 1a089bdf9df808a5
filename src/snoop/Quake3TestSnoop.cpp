#include "snoop/Quake3TestSnoop.h"
#include "hosts/ServerInfo.h"
#include "net/IpHostnameCache.h"
#include "platform/NotificationCenter.h"
#include "snoop/InfoResponse.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr std::size_t markerLength = 4;

bool isSeparator(char character)
{
    return character == ' ' || (character >= '\t' && character <= '\r');
}

bool hasMarker(const Data& datagram)
{
    return std::all_of(datagram.begin(), datagram.begin() + markerLength, [](std::uint8_t byte) { return byte == 0xFF; });
}

}

Data Quake3TestSnoop::outOfBand(std::string_view text)
{
    std::string datagram(markerLength, '\xFF');
    datagram.append(text);
    return dataFromString(datagram);
}

Data Quake3TestSnoop::serverRequest() const
{
    return outOfBand("getinfo xxx");
}

std::optional<Data> Quake3TestSnoop::handleAnswer(const Data& datagram, const Ip& sender, std::uint16_t port)
{
    setReturnData(std::nullopt);
    if (datagram.size() <= markerLength || !hasMarker(datagram))
        return m_returnData;
    // One character per byte; the protocol's words are ASCII.
    std::string line(datagram.begin() + markerLength, datagram.end());
    auto commandStart = std::find_if_not(line.begin(), line.end(), isSeparator);
    auto commandEnd = std::find_if(commandStart, line.end(), isSeparator);
    // "The command word, one separator, then the argument": a line of white space alone,
    // or a word with no separator after it, is no command. Ignored, so that one stray
    // datagram can never stop the search.
    if (commandStart == line.end() || commandEnd == line.end())
        return m_returnData;
    interpretCommand(std::string(commandStart, commandEnd), std::string(commandEnd + 1, line.end()), sender, port);
    return m_returnData;
}

void Quake3TestSnoop::interpretCommand(const std::string& command, const std::string& argument, const Ip& sender, std::uint16_t port)
{
    // A client's "getinfo", "getstatus", "getchallenge", "connect" and "rcon" are none of
    // our business, nor is anything unknown: only servers' answers count.
    if (command == "infoResponse")
        handleServerCommand(command, argument, sender, port);
}

void Quake3TestSnoop::handleServerCommand(const std::string&, const std::string& argument, const Ip& sender, std::uint16_t port)
{
    if (argument.empty())
        return;
    auto entry = ServerInfo::object();
    entry->_setObject(sender, "Ip");
    entry->_setObject(IpHostnameCache::sharedInstance().nameForIp(sender), "Hostname");
    entry->_setObject(port, "Port");
    entry->_setObject(InfoResponse::objectWithString(argument), "InfoResponse");
    std::shared_ptr<const HostInfo> announced = std::move(entry);
    NotificationCenter::defaultCenter().postNotificationName(ServerFoundNotificationName, this, { { "userInfo", announced } });
}
