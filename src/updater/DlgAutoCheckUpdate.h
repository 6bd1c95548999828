#pragma once

#include "UpdateDownload.h"
#include "UpdateSettings.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

// "软件自动更新": the installed and the offered version, the download of the installer with its
// progress and speed, and the check at start-up. It ends with OK once the checked installer
// lies on the desktop (Installer()); "取消", Esc and the close box stop a running download
// instead of closing.
class DlgAutoCheckUpdate : public QDialog {
    Q_OBJECT

public:
    DlgAutoCheckUpdate(const UpdateSettings& settings, const QString& displayVersion,
                       const QString& programFolder, QWidget* parent = nullptr);

    // The installer's copy on the desktop, after the dialog ended with OK.
    const QString& Installer() const { return m_installer; }

    void reject() override;

private:
    void OnStart();
    void OnFinished(DownloadOutcome outcome, const QString& text);
    // Ready for another try: "开始更新" on, "取消" off.
    void SetReady();
    void SetStatus(const QString& text);
    void RemoveUpdateFolder() const;

    const UpdateSettings m_settings;
    const QString m_programFolder;
    CUpdateDownload m_download;
    QString m_installer;
    QLabel* m_pStatus;
    QProgressBar* m_pProgress;
    QCheckBox* m_pAutoCheck;
    QPushButton* m_pStart;
    QPushButton* m_pCancel;
};
