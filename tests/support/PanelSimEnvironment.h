#pragma once

#include <QProcessEnvironment>
#include <QString>

#include <map>

// The environment of a program run against the simulated panel: panelsim preloaded, the
// caller's own KV_PANELSIM_* settings dropped, received files kept in `panelDir`, and the
// test's panel settings `panelEnv` on top.
inline QProcessEnvironment PanelSimEnvironment(const QString& panelDir,
                                               const std::map<QString, QString>& panelEnv) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& key : env.keys()) {
        if (key.startsWith("KV_PANELSIM_"))
            env.remove(key);
    }
    env.insert("LD_PRELOAD", KV_BIN_DIR "/libpanelsim.so");
    // A sanitizer build wants its runtime first; the preloaded panel comes before it.
    env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
    env.insert("KV_PANELSIM_DIR", panelDir);
    for (const auto& [key, value] : panelEnv)
        env.insert(key, value);
    return env;
}
