#include "platform/ProcessSignals.h"
#include "tools/gatesim/AdapterCommands.h"
#include "tools/gatesim/SimOptions.h"
#include "tools/gatesim/SimSession.h"

#include <QCoreApplication>

#include <csignal>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int)
{
    stopRequested = true;
}

// Without SA_RESTART the main loop's poll returns at once, and the adapter link is removed on the
// way out as on a normal exit. SIGPIPE is ignored: with the output piped, Ctrl-C ends the reader
// too, and the simulator must still get to remove its link.
void InstallStopHandlers()
{
    std::signal(SIGPIPE, SIG_IGN);
    struct sigaction action = {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
}

} // namespace

int main(int argc, char* argv[])
{
    platform::ignoreFileSizeSignal();
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("swiftlane-gatesim"));
    QCoreApplication::setApplicationVersion(QString::number(SWIFTLANE_VERSION));
    const auto options = ParseSimOptions(QCoreApplication::arguments());
    if (!options)
        return 2;
    if (options->listAdapters)
        return ListAdapters();
    if (options->realAdapterCheck)
        return RealAdapterAttached();
    if (!options->demoSequenceFolder.isEmpty())
        return WriteDemoSequence(options->demoSequenceFolder);
    InstallStopHandlers();
    SimSession session(*options);
    return session.Run(stopRequested);
}
