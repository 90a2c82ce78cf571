#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QPromise>
#include <QThreadPool>

#include <memory>
#include <optional>
#include <utility>

// Runs work() on the shared thread pool, then then(result) on the thread of
// `context`, unless context was deleted meanwhile (its watcher goes with it,
// so nothing is called). The result is moved across, not copied: lists of
// tens of thousands of rows travel this way.
//
// The result travels beside the future, not in it. Taking a result out of a
// future resets the future's state, and a promise that the worker still
// holds then reports "finished" a second time when it is destroyed: that
// second report reached the owner inside any dialog the first call had
// opened, with no result left to take. Here the future only says "done",
// the result is taken once, and the watcher stops listening as it first
// hears it.
template <typename Result, typename Work, typename Then>
void RunOnWorker(QObject* context, Work work, Then then) {
    auto result = std::make_shared<std::optional<Result>>();
    auto promise = std::make_shared<QPromise<void>>();
    auto* watcher = new QFutureWatcher<void>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context,
                     [watcher, result, then = std::move(then)]() mutable {
                         watcher->disconnect();
                         watcher->deleteLater();
                         if (!result->has_value())
                             return;
                         Result taken = std::move(**result);
                         result->reset();
                         then(std::move(taken));
                     });
    watcher->setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start(
        [promise = std::move(promise), result, work = std::move(work)]() mutable {
            // Written before finish(), which publishes it to the owner's thread.
            result->emplace(work());
            promise->finish();
        });
}
