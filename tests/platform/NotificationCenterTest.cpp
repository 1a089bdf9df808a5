#include "platform/NotificationCenter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(NotificationCenter, DeliversByNameAndSenderOnThePostingThread)
{
    NotificationCenter center;
    int anySender = 0, fromA = 0;
    const int senderA = 0, senderB = 0;
    std::thread::id deliveredOn;
    center.addObserver(&anySender, "Changed", [&](const Notification& note) {
        ++anySender;
        deliveredOn = std::this_thread::get_id();
        EXPECT_EQ(std::any_cast<int>(note.userInfo.at("list")), 7);
    });
    center.addObserver(&fromA, "Changed", [&](const Notification&) { ++fromA; }, &senderA);

    center.postNotificationName("Changed", &senderA, { { "list", 7 } });
    center.postNotificationName("Changed", &senderB, { { "list", 7 } });
    center.postNotificationName("Other", &senderA);

    EXPECT_EQ(anySender, 2);
    EXPECT_EQ(fromA, 1);
    EXPECT_EQ(deliveredOn, std::this_thread::get_id());
}

TEST(NotificationCenter, AnObserverMayRemoveItselfAndPostFromItsHandler)
{
    NotificationCenter center;
    int calls = 0, nested = 0;
    center.addObserver(&calls, "First", [&](const Notification&) {
        ++calls;
        center.removeObserver(&calls);
        center.postNotificationName("Second", nullptr);
    });
    center.addObserver(&nested, "Second", [&](const Notification&) { ++nested; });
    center.postNotificationName("First", nullptr);
    center.postNotificationName("First", nullptr);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(nested, 1);
}

TEST(NotificationCenter, PostsFromSeveralThreadsWhileObserversComeAndGo)
{
    NotificationCenter center;
    std::atomic<int> delivered { 0 };
    int stable = 0;
    center.addObserver(&stable, "Tick", [&](const Notification&) { ++delivered; });
    std::atomic<bool> stop { false };
    std::thread churn([&] {
        int transient = 0;
        while (!stop) {
            center.addObserver(&transient, "Tick", [](const Notification&) {});
            center.removeObserver(&transient);
        }
    });
    std::vector<std::thread> posters;
    for (int i = 0; i < 4; ++i)
        posters.emplace_back([&] {
            for (int n = 0; n < 1000; ++n)
                center.postNotificationName("Tick", nullptr);
        });
    for (auto& poster : posters)
        poster.join();
    stop = true;
    churn.join();
    EXPECT_EQ(delivered, 4000);
}
