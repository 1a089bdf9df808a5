#include "snoop/ClientFake.h"
#include "snoop/InfoResponse.h"

namespace {

const Data& outOfBandMarker()
{
    static const Data marker(4, 0xFF);
    return marker;
}

// Lossy ASCII: one '?' per character that ASCII cannot hold (text arrives as UTF-8).
void appendAscii(Data& data, const std::string& text)
{
    for (unsigned char byte : text) {
        if (byte < 0x80)
            data.push_back(byte);
        else if ((byte & 0xC0) != 0x80)
            data.push_back('?');
    }
}

}

ClientFake::ClientFake(std::optional<std::string> host, std::optional<std::string> map)
    : m_host(std::move(host))
    , m_map(std::move(map))
{
}

std::shared_ptr<const InfoResponse> ClientFake::infoResponse() const
{
    InfoResponse::Dictionary info;
    if (m_host)
        info["hostname"] = *m_host;
    if (m_map)
        info["mapname"] = *m_map;
    info["clients"] = std::to_string(m_players);
    info["sv_maxclients"] = std::to_string(m_max);
    info["protocol"] = std::to_string(m_protocol);
    return InfoResponse::objectWithDictionary(std::move(info));
}

Data ClientFake::data() const
{
    auto response = infoResponse();
    response->validate();
    std::string text = "infoResponse\n";
    for (const auto& field : response->keysAndValues())
        text += '\\' + field;
    Data data = outOfBandMarker();
    appendAscii(data, text);
    return data;
}
