#pragma once

#include <QObject>

#include <functional>

namespace rovex {

// Runs work on a thread of its own and hands its result to deliver on the receiver's
// thread (the main thread for every receiver here), unless the receiver was destroyed
// meanwhile: then the result is dropped. The thread is detached, so quitting never waits
// for work that may take long (a reverse lookup can take half a minute).
//
//     runInBackground<std::optional<std::string>>(this,
//         [address] { return reverseLookup(address); },
//         [this](std::optional<std::string> name) { ... });
//
// Call it on the receiver's thread.
template <typename Result>
void runInBackground(QObject* receiver, std::function<Result()> work, std::function<void(Result)> deliver);

// How many jobs started for the receiver have not yet been handed over (or dropped by
// their delivery) on its thread: lets a caller wait until late answers have come in.
int backgroundJobsPending(const QObject* receiver);

} // namespace rovex

#include "app/intel/BackgroundWorkImpl.h"
