#include "snoop/InfoResponse.h"
#include "platform/Exception.h"

InfoResponse::InfoResponse(std::string_view infoString)
    : m_info(parse(infoString))
{
}

InfoResponse::InfoResponse(Dictionary info)
    : m_info(std::move(info))
{
}

std::shared_ptr<const InfoResponse> InfoResponse::objectWithString(std::string_view infoString)
{
    return std::make_shared<const InfoResponse>(infoString);
}

std::shared_ptr<const InfoResponse> InfoResponse::objectWithDictionary(Dictionary info)
{
    return std::make_shared<const InfoResponse>(std::move(info));
}

const std::vector<std::string>& InfoResponse::neededKeys()
{
    static const std::vector<std::string> keys { "hostname", "mapname", "clients", "sv_maxclients", "protocol" };
    return keys;
}

InfoResponse::Dictionary InfoResponse::parse(std::string_view infoString)
{
    if (infoString.starts_with('\\'))
        infoString.remove_prefix(1);
    std::vector<std::string_view> fields;
    for (;;) {
        size_t backslash = infoString.find('\\');
        fields.push_back(infoString.substr(0, backslash));
        if (backslash == std::string_view::npos)
            break;
        infoString.remove_prefix(backslash + 1);
    }
    Dictionary info;
    // An odd last field has no value and is dropped.
    for (size_t index = 0; index + 1 < fields.size(); index += 2)
        info.insert_or_assign(std::string(fields[index]), std::string(fields[index + 1]));
    return info;
}

void InfoResponse::validate() const
{
    for (const auto& key : neededKeys()) {
        if (!m_info.contains(key))
            Exception::raise("Required Key %s missing from Inforesponse %s", key.c_str(), description().c_str());
    }
}

std::optional<std::string> InfoResponse::objectForKey(const std::string& key) const
{
    auto found = m_info.find(key);
    if (found == m_info.end())
        return std::nullopt;
    return found->second;
}

std::vector<std::string> InfoResponse::keysAndValues() const
{
    std::vector<std::string> result;
    result.reserve(m_info.size() * 2);
    for (const auto& [key, value] : m_info) {
        result.push_back(key);
        result.push_back(value);
    }
    return result;
}

bool InfoResponse::isEqual(const InfoResponse& other) const
{
    for (const auto& key : neededKeys()) {
        auto mine = objectForKey(key);
        if (!mine || mine != other.objectForKey(key))
            return false;
    }
    return true;
}

std::string InfoResponse::description() const
{
    std::string text = "{";
    for (const auto& [key, value] : m_info)
        text += key + " = " + value + "; ";
    return text + "}";
}
