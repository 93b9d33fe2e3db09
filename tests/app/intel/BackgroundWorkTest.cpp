#include "app/intel/BackgroundWork.h"

#include "QtTestSupport.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <stdexcept>
#include <thread>

using rovex::backgroundJobsPending;
using rovex::runInBackground;
using rovex::test::runUntil;

TEST(BackgroundWork, WorksOnItsOwnThreadAndDeliversOnTheReceivers)
{
    QObject receiver;
    std::thread::id workThread;
    QThread* deliveryThread = nullptr;
    int delivered = 0;
    runInBackground<int>(
        &receiver,
        [&workThread] {
            workThread = std::this_thread::get_id();
            return 42;
        },
        [&](int value) {
            deliveryThread = QThread::currentThread();
            delivered = value;
        });
    EXPECT_EQ(backgroundJobsPending(&receiver), 1);
    ASSERT_TRUE(runUntil([&] { return delivered != 0; }));
    EXPECT_EQ(delivered, 42);
    EXPECT_NE(workThread, std::this_thread::get_id());
    EXPECT_EQ(deliveryThread, receiver.thread());
    EXPECT_EQ(backgroundJobsPending(&receiver), 0);
}

TEST(BackgroundWork, AReceiverDestroyedBeforeTheEndGetsNothing)
{
    std::promise<void> gate;
    auto token = std::make_shared<int>(7);
    const std::weak_ptr<int> watch = token;
    bool delivered = false;
    auto receiver = std::make_unique<QObject>();
    runInBackground<std::shared_ptr<int>>(
        receiver.get(),
        [opened = gate.get_future().share(), token] {
            opened.wait();
            return token;
        },
        [&delivered](std::shared_ptr<int>) { delivered = true; });
    receiver.reset();
    token.reset();
    gate.set_value();
    // The token is freed once the job has dropped its result; a delivery still queued
    // would hold it.
    ASSERT_TRUE(runUntil([&watch] { return watch.expired(); }));
    QCoreApplication::processEvents();
    EXPECT_FALSE(delivered);
}

TEST(BackgroundWork, AJobThatThrowsDeliversNothingButEnds)
{
    QObject receiver;
    bool delivered = false;
    runInBackground<int>(
        &receiver, []() -> int { throw std::runtime_error("no answer"); }, [&delivered](int) { delivered = true; });
    ASSERT_TRUE(runUntil([&receiver] { return backgroundJobsPending(&receiver) == 0; }));
    EXPECT_FALSE(delivered);
}
