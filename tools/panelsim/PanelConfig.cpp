#include "PanelConfig.h"

#include <cmath>

namespace {

class Reader {
public:
    Reader(const QProcessEnvironment& env, QStringList& problems)
        : m_env(env), m_problems(problems) {}

    void Int(const char* name, int min, int max, int& value) {
        const QString text = m_env.value(QLatin1String(name));
        if (text.isEmpty())
            return;
        bool ok = false;
        const int parsed = text.toInt(&ok);
        if (ok && parsed >= min && parsed <= max)
            value = parsed;
        else
            Complain(name, text);
    }

    void Flag(const char* name, bool& value) {
        const QString text = m_env.value(QLatin1String(name));
        if (text.isEmpty() || text == QLatin1String("0"))
            return;
        if (text == QLatin1String("1"))
            value = true;
        else
            Complain(name, text);
    }

    void Scale(const char* name, double& value) {
        const QString text = m_env.value(QLatin1String(name));
        if (text.isEmpty())
            return;
        bool ok = false;
        const double parsed = text.toDouble(&ok);
        if (ok && std::isfinite(parsed) && parsed > 0 && parsed <= 1000)
            value = parsed;
        else
            Complain(name, text);
    }

    QString Text(const char* name) const { return m_env.value(QLatin1String(name)); }

private:
    void Complain(const char* name, const QString& text) {
        m_problems << QStringLiteral("%1=%2 ignored").arg(QLatin1String(name), text);
    }

    const QProcessEnvironment& m_env;
    QStringList& m_problems;
};

} // namespace

PanelConfig ParsePanelConfig(const QProcessEnvironment& env, QStringList& problems) {
    Reader read(env, problems);
    PanelConfig config;
    config.folder = read.Text("KV_PANELSIM_DIR");
    read.Int("KV_PANELSIM_MODEL", 0, 255, config.model);
    read.Flag("KV_PANELSIM_PLC_RUNNING", config.plcRunning);
    read.Flag("KV_PANELSIM_ABSENT", config.absent);
    read.Flag("KV_PANELSIM_REFUSE_FLASH", config.refuseFlash);
    read.Int("KV_PANELSIM_NAK_FRAME", 1, 1 << 30, config.nakFrame);
    read.Int("KV_PANELSIM_DROP_ACK_FRAME", 1, 1 << 30, config.dropAckFrame);
    read.Int("KV_PANELSIM_DELAY_MS", 0, 600000, config.delayMs);
    read.Int("KV_PANELSIM_VANISH_AFTER", 0, 1 << 30, config.vanishAfter);
    config.logPath = read.Text("KV_PANELSIM_LOG");
    read.Scale("KV_PANELSIM_TIMEOUT_SCALE", config.timeoutScale);
    read.Int("KV_PANELSIM_PANELS", 0, 1 << 20, config.panels);
    return config;
}
