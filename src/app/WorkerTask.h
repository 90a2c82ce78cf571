#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QPromise>
#include <QThreadPool>

#include <memory>
#include <utility>

// Runs work() on the shared thread pool, then then(result) on the thread of
// `context`, unless context was deleted meanwhile (its watcher goes with it,
// so nothing is called). The result is moved across, not copied: lists of
// tens of thousands of rows travel this way.
template <typename Result, typename Work, typename Then>
void RunOnWorker(QObject* context, Work work, Then then) {
    auto promise = std::make_shared<QPromise<Result>>();
    auto* watcher = new QFutureWatcher<Result>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context,
                     [watcher, then = std::move(then)]() mutable {
                         Result result = watcher->future().takeResult();
                         watcher->deleteLater();
                         then(std::move(result));
                     });
    watcher->setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start([promise, work = std::move(work)]() mutable {
        promise->addResult(work());
        promise->finish();
    });
}
