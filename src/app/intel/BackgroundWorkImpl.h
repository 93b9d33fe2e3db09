#pragma once

// The template half of BackgroundWork.h; include that header, not this one.

#include <QObject>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace rovex::detail {

class Mailbox;

// Where jobs leave their results for one receiver: shared by the receiver's mailbox (a
// child object on the receiver's thread) and every job still running for it. The mailbox
// closes it when it is destroyed with the receiver; a job that finishes later finds it
// closed and drops its result. The mutex makes "still open" and "post the call" one step,
// so the mailbox cannot die between the two.
class MailboxLink final {
public:
    explicit MailboxLink(Mailbox* mailbox) : m_mailbox(mailbox) {}

    // On the job's thread: queues delivery to run on the mailbox's thread, if it still lives.
    void post(std::function<void()> delivery);
    // On the receiver's thread, from the mailbox's destructor.
    void close();

private:
    std::mutex m_mutex;
    Mailbox* m_mailbox;
};

// The receiver's link, its mailbox made on first use; counts one more job pending.
std::shared_ptr<MailboxLink> startJob(QObject* receiver);

} // namespace rovex::detail

namespace rovex {

template <typename Result>
void runInBackground(QObject* receiver, std::function<Result()> work, std::function<void(Result)> deliver)
{
    std::shared_ptr<detail::MailboxLink> link = detail::startJob(receiver);
    std::thread([link, work = std::move(work), deliver = std::move(deliver)]() mutable {
        // A job that fails hands nothing over, but still ends, so the pending count holds.
        auto result = std::make_shared<std::optional<Result>>();
        try {
            result->emplace(work());
        } catch (...) {
        }
        link->post([result, deliver = std::move(deliver)] {
            if (*result)
                deliver(std::move(**result));
        });
    }).detach();
}

} // namespace rovex
