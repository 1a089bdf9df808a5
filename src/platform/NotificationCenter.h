#pragma once

#include <any>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct Notification {
    std::string name;
    const void* object = nullptr;
    std::map<std::string, std::any> userInfo;
};

// Delivers notifications synchronously, on the posting thread, to every observer of the
// name (and of the sender, where one was given). Safe to post from several threads:
// observers are called outside the center's lock, and removeObserver() waits for calls
// in flight on other threads, so an observer can be destroyed right after removing itself.
class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    // A null object observes the name from any sender.
    void addObserver(const void* observer, std::string name, Handler handler, const void* object = nullptr);
    void removeObserver(const void* observer);
    void postNotification(const Notification& notification);
    void postNotificationName(std::string name, const void* object, std::map<std::string, std::any> userInfo = {});

private:
    struct Registration;
    std::mutex m_mutex;
    std::vector<std::shared_ptr<Registration>> m_registrations;
};
