#include "app/TerminationSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler may only write to a descriptor; the notifier reads the other end.
int g_pipe[2] = {-1, -1};

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (g_pipe[0] != -1 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0)
        return;
    ::fcntl(g_pipe[1], F_SETFL, O_NONBLOCK); // a full buffer must never block the handler
    notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::Read);

    struct sigaction action {};
    action.sa_handler = &TerminationSignals::OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : kSignals)
        ::sigaction(number, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
    if (notifier_ == nullptr)
        return;
    RestoreDefaults();
    delete notifier_;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void TerminationSignals::OnSignal(int signalNumber) {
    const char byte = static_cast<char>(signalNumber);
    const ssize_t written = ::write(g_pipe[1], &byte, 1);
    static_cast<void>(written); // nothing more can be done here
}

void TerminationSignals::RestoreDefaults() {
    for (int number : kSignals)
        std::signal(number, SIG_DFL);
}

void TerminationSignals::Read() {
    char byte = 0;
    if (::read(g_pipe[0], &byte, 1) != 1)
        return;
    RestoreDefaults();
    emit received(static_cast<unsigned char>(byte));
}
