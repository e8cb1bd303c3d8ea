#pragma once

#include "devices/session/SessionFormat.h"
#include "devices/sim/AthleteRunner.h"
#include "devices/sim/EventScript.h"
#include "devices/sim/GateSimulator.h"

#include <QString>
#include <QStringList>

#include <optional>

// Everything the command line can ask of the simulator.
struct SimOptions
{
    sim::GateSimSettings gates;
    QString adapterName = QStringLiteral("SIM1");
    bool autoAthletes = false;
    sim::AthleteRunner::Settings athletes;
    QString scriptPath;
    std::vector<sim::ScriptedPassage> script; // read from scriptPath while parsing
    std::int64_t unplugAfterMs = -1;          // < 0: never
    std::int64_t unplugForMs = 3000;
    std::int64_t exitAfterMs = -1; // < 0: run until stopped
    QString replayPath;
    std::vector<session::Record> replay; // read from replayPath while parsing
    double replaySpeed = 1.0;
    bool listAdapters = false;
    bool realAdapterCheck = false;
    QString demoSequenceFolder;
    QStringList rfidTags; // empty: no RFID reader
};

// Parses the arguments and reads the script; on a mistake prints it and returns nothing. --help and --version
// exit.
std::optional<SimOptions> ParseSimOptions(const QStringList& arguments);
