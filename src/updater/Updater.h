#pragma once

#include "UpdateCheck.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <memory>

class DlgAutoCheckUpdate;
class QThread;
class QWidget;

// The designer's updater: the check on a thread of its own (at start-up and on "立即检查"),
// its result shown while the check at start-up is switched on, the update dialog and the
// settings dialog. The server's announcement and the installed version are kept between
// checks.
class CUpdater : public QObject {
    Q_OBJECT

public:
    // `window` is hidden while a mandatory update is offered; `saveModified` offers to save a
    // modified project before the designer ends for an update; `endProgram` ends it (exit
    // code 0). Everything is read from and kept in `programFolder`.
    CUpdater(QWidget& window, const QString& programFolder, std::function<void()> saveModified,
             std::function<void()> endProgram, QObject* parent = nullptr);
    // Stops a running check and waits for it.
    ~CUpdater() override;

    // Starts a check unless one is running.
    void StartCheck();
    // "立即检查": a check whose result is shown also when there is no update.
    void CheckNow();
    // "更新设置".
    void ShowSettings();

    const UpdateSettings& Settings() const { return m_settings; }

signals:
    // A check has ended and its result has been shown (or not, with the check at start-up
    // switched off).
    void checkFinished(bool updateAvailable);

private:
    void OnCheckResult(const UpdateCheckResult& result);
    void ShowUpdate();
    void OnUpdateClosed(int result);
    QString ConfigPath() const;

    QWidget& m_window;
    const QString m_programFolder;
    std::function<void()> m_saveModified;
    std::function<void()> m_endProgram;
    UpdateSettings m_settings;
    VersionTexts m_versions;
    bool m_bManualCheck = false;
    std::unique_ptr<QThread> m_checkThread;
    std::atomic<bool> m_abort{false};
    QPointer<DlgAutoCheckUpdate> m_pDialog;
};
