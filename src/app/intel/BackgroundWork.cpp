#include "app/intel/BackgroundWork.h"

namespace rovex::detail {

// One per receiver, its child: lives exactly as long as the receiver's QObject part, on
// its thread, and is the context of every delivery, so Qt drops a delivery still queued
// when it dies.
class Mailbox final : public QObject {
public:
    explicit Mailbox(QObject* receiver) : QObject(receiver), m_link(std::make_shared<MailboxLink>(this)) {}
    ~Mailbox() override { m_link->close(); }
    Q_DISABLE_COPY_MOVE(Mailbox)

    const std::shared_ptr<MailboxLink>& link() const { return m_link; }
    int pending() const { return m_pending; }
    void jobStarted() { ++m_pending; }
    void jobEnded() { --m_pending; }

private:
    std::shared_ptr<MailboxLink> m_link;
    int m_pending = 0;
};

namespace {

Mailbox* mailboxOf(const QObject* receiver)
{
    for (QObject* child : receiver->children()) {
        if (auto* mailbox = dynamic_cast<Mailbox*>(child))
            return mailbox;
    }
    return nullptr;
}

} // namespace

void MailboxLink::post(std::function<void()> delivery)
{
    const std::lock_guard lock(m_mutex);
    if (m_mailbox == nullptr)
        return;
    Mailbox* mailbox = m_mailbox;
    QMetaObject::invokeMethod(
        mailbox,
        [mailbox, delivery = std::move(delivery)] {
            mailbox->jobEnded();
            delivery();
        },
        Qt::QueuedConnection);
}

void MailboxLink::close()
{
    const std::lock_guard lock(m_mutex);
    m_mailbox = nullptr;
}

std::shared_ptr<MailboxLink> startJob(QObject* receiver)
{
    Mailbox* mailbox = mailboxOf(receiver);
    if (mailbox == nullptr)
        mailbox = new Mailbox(receiver); // owned by the receiver
    mailbox->jobStarted();
    return mailbox->link();
}

} // namespace rovex::detail

namespace rovex {

int backgroundJobsPending(const QObject* receiver)
{
    const detail::Mailbox* mailbox = detail::mailboxOf(receiver);
    return mailbox == nullptr ? 0 : mailbox->pending();
}

} // namespace rovex
