#include "hosts/AttributeValue.h"
#include "snoop/InfoResponse.h"

#include <ctime>

namespace {

std::string describeDate(Date date)
{
    std::time_t seconds = std::chrono::system_clock::to_time_t(date);
    std::tm parts {};
    gmtime_r(&seconds, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S +0000", &parts);
    return text;
}

struct Describer {
    std::string operator()(const Ip& ip) const { return ip.description(); }
    std::string operator()(std::int64_t number) const { return std::to_string(number); }
    std::string operator()(const std::string& text) const { return text; }
    std::string operator()(Date date) const { return describeDate(date); }
    std::string operator()(const std::shared_ptr<const InfoResponse>& response) const
    {
        return response ? response->description() : std::string();
    }
};

}

std::string AttributeValue::description() const
{
    return std::visit(Describer {}, m_value);
}

bool AttributeValue::operator==(const AttributeValue& other) const
{
    auto mine = get<std::shared_ptr<const InfoResponse>>();
    auto theirs = other.get<std::shared_ptr<const InfoResponse>>();
    if (mine && theirs)
        return *mine && *theirs && (*mine)->isEqual(**theirs);
    return m_value == other.m_value;
}
