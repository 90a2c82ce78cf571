// The baselines for the start-up benchmark: a bare Qt Widgets window in a
// program that links libmpv (and so maps FFmpeg and the rest at start), and
// nothing else; built with WAVEORBIT_BENCH_NO_MPV, the same window without
// libmpv, the floor of this stack, since the player itself loads libmpv only
// when it first plays. With
// WAVEORBIT_BENCH_FIRST_PAINT=1 it prints "first-paint-ms <n>" to stderr at
// its first paint and quits, exactly like the player.
#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#ifndef WAVEORBIT_BENCH_NO_MPV
#include <mpv/client.h>
#endif

#include <clocale>
#include <cstdio>

namespace {

class BareWindow : public QWidget {
public:
    explicit BareWindow(const QElapsedTimer& clock) : clock_(clock) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Qt::black);
        if (painted_)
            return;
        painted_ = true;
        if (qEnvironmentVariableIntValue("WAVEORBIT_BENCH_FIRST_PAINT") != 0) {
            std::fprintf(stderr, "first-paint-ms %lld\n", static_cast<long long>(clock_.elapsed()));
            std::fflush(stderr);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
    }

private:
    const QElapsedTimer& clock_;
    bool painted_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QElapsedTimer clock;
    clock.start();
    std::setlocale(LC_NUMERIC, "C");
#ifndef WAVEORBIT_BENCH_NO_MPV
    // Keeps libmpv really linked and loaded.
    if (mpv_client_api_version() == 0)
        return 1;
#endif
    BareWindow window(clock);
    window.resize(836, 354);
    window.show();
    return app.exec();
}
