#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// How the simulated panel behaves, from its KV_PANELSIM_* environment variables.
struct PanelConfig {
    QString folder;            // KV_PANELSIM_DIR: where flashed files are kept; empty: memory only
    int model = 200;           // KV_PANELSIM_MODEL: model code of the connect reply
    bool plcRunning = false;   // KV_PANELSIM_PLC_RUNNING=1
    bool absent = false;       // KV_PANELSIM_ABSENT=1: no panel on the bus
    bool refuseFlash = false;  // KV_PANELSIM_REFUSE_FLASH=1: the flash write answers NAK
    int nakFrame = 0;          // KV_PANELSIM_NAK_FRAME: NAK the n-th acknowledged frame (0: none)
    int dropAckFrame = 0;      // KV_PANELSIM_DROP_ACK_FRAME: never answer the n-th one (0: none)
    int delayMs = 0;           // KV_PANELSIM_DELAY_MS: every answer comes this much later
    int vanishAfter = -1;      // KV_PANELSIM_VANISH_AFTER: silent after n frames (-1: never)
    QString logPath;           // KV_PANELSIM_LOG: one line per frame received
    double timeoutScale = 1.0; // KV_PANELSIM_TIMEOUT_SCALE: factor on every USB timeout
    // KV_PANELSIM_PANELS: that many panels come one after the other, each keeping its files in
    // its own subfolder "1", "2", ... of the folder; a panel that was restarted is unplugged
    // when its handle is closed (0: one panel that stays).
    int panels = 0;
};

// Reads the variables of `env`. A value that does not parse or is out of range is named in
// `problems` and leaves its setting at the default.
PanelConfig ParsePanelConfig(const QProcessEnvironment& env, QStringList& problems);
